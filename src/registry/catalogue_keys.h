#pragma once
#include <initializer_list>
#include <string>
#include <vector>

namespace purgent {

// A few keys of the machine-wide catalogues go only with the Writing Tools.
enum class KeyGuard { Always, WritingToolsOnly };

// One key of a catalogue table, as its full path.
struct CatalogueKey {
    std::string path;
    KeyGuard guard = KeyGuard::Always;
};
using CatalogueKeys = std::vector<CatalogueKey>;

// A key name under a common prefix, with its guard.
struct KeyName {
    KeyName(const char* text, KeyGuard guard = KeyGuard::Always) : text(text), guard(guard) {}
    const char* text;
    KeyGuard guard;
};

// Writes a table the way it is listed: single keys, and groups of names that
// share a prefix.
class KeyTable {
public:
    KeyTable& Key(const char* path, KeyGuard guard = KeyGuard::Always);
    KeyTable& Under(const char* prefix, std::initializer_list<KeyName> names);
    CatalogueKeys Build() { return std::move(keys_); }

private:
    CatalogueKeys keys_;
};

}  // namespace purgent
