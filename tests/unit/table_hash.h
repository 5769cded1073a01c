#pragma once
// Pinning a catalogue table: its entries listed in order, then counted and
// hashed, so that an edit cannot silently drop, add or reorder one.
#include <cstdint>
#include <string>
#include <vector>

namespace purgent::testing {

using Listing = std::vector<std::string>;

inline void Add(Listing& listing, const std::string& entry) { listing.push_back(entry); }
inline void Add(Listing& listing, const std::vector<std::string>& names) {
    listing.insert(listing.end(), names.begin(), names.end());
}

// The entries of a table's parts in order. A test lists its own structured
// parts with Add overloads in namespace purgent, found where the parts' types live.
template <typename... Parts>
Listing ListingOf(const Parts&... parts) {
    Listing listing;
    (Add(listing, parts), ...);
    return listing;
}

// FNV-1a (64 bit) over the entries, each followed by a line feed.
inline std::uint64_t Hash(const Listing& listing) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::string& entry : listing) {
        for (char c : entry + "\n") {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

}  // namespace purgent::testing
