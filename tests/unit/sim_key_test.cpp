#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "image/ansi_text.h"
#include "platform/sim/sim_key.h"
#include "platform/sim/sim_names.h"
#include "param_name.h"

namespace purgent::sim {
namespace {

std::vector<std::string> Names(const SimKey& key) {
    std::vector<std::string> names;
    for (const auto& sub : key.Subkeys()) names.push_back(sub->Name());
    return names;
}

// The names Windows would enumerate: sorted by upper-cased name.
std::vector<std::string> Enumerated(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(), NameLess);
    return names;
}

std::string Upper(const std::string& name) {
    std::string upper = name;
    for (char& c : upper) c = image::FoldCase(c);
    return upper;
}

struct InsertOrder {
    const char* what;
    std::vector<std::string> names;
};

// Generated documents write keys in any order; regedit exports are sorted.
const InsertOrder kInsertOrders[] = {
    {"sorted", {"Alpha", "beta", "Gamma", "zeta", "_under"}},
    {"reversed", {"_under", "zeta", "Gamma", "beta", "Alpha"}},
    {"shuffled", {"Gamma", "_under", "Alpha", "zeta", "beta"}},
    {"prefixes", {"ab", "a", "abc", "A b", "ab c"}},
    // é/É, š/Š, ÿ/Ÿ fold to one another; ÷ and × do not.
    {"ANSI letters", {"\xE9t\xE9", "\x9A", "zz", "\xFF", "\xF7", "\xD7", "\xC9", "\xB5", "E"}},
    {"packed GUIDs", {"F3C2A1", "0A1B2C", "9E9E9E", "0a1b2d", "C0FFEE", "00", "FFFFFF"}},
    // Alike in their first eight characters, or shorter than eight.
    {"long shared beginnings",
     {"Application 00010", "APPLICATION 00002", "application 0001", "APPLICATIONS", "APPLICAT", "APPLICA", "app"}},
    {"NUL inside a name", {std::string("AB\0C", 4), "AB", std::string("AB\0", 3), "AB\x01"}},
};

void PrintTo(const InsertOrder& order, std::ostream* out) { *out << order.what; }

class SimKeyInsertOrder : public ::testing::TestWithParam<InsertOrder> {};

TEST_P(SimKeyInsertOrder, SubkeysStaySortedAndFindableInAnyCase) {
    SimKey key("K");
    for (const std::string& name : GetParam().names) key.AddSubkey(name);
    EXPECT_EQ(Names(key), Enumerated(GetParam().names));
    for (const std::string& name : GetParam().names) {
        const std::shared_ptr<SimKey> found = key.FindSubkey(Upper(name));
        ASSERT_TRUE(found) << name;
        EXPECT_EQ(found->Name(), name);
        EXPECT_EQ(found->Parent(), &key);
        // Another spelling names the same key: nothing is added.
        EXPECT_EQ(key.AddSubkey(Upper(name)), found);
    }
    EXPECT_EQ(key.Subkeys().size(), GetParam().names.size());
}

TEST_P(SimKeyInsertOrder, RemovingKeepsTheRestInOrderWhileAddingInBetween) {
    SimKey key("K");
    std::vector<std::string> left;
    for (const std::string& name : GetParam().names) {
        key.AddSubkey(name);
        left.push_back(name);
        // Enumerated between additions, then one key removed of every two added.
        EXPECT_EQ(Names(key), Enumerated(left));
        if (left.size() % 2 == 0) {
            const std::string gone = left[left.size() / 2];
            key.RemoveSubkey(*key.FindSubkey(gone));
            left.erase(std::find(left.begin(), left.end(), gone));
            EXPECT_FALSE(key.FindSubkey(gone)) << gone;
            EXPECT_EQ(Names(key), Enumerated(left));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Orders, SimKeyInsertOrder, ::testing::ValuesIn(kInsertOrders),
                         testing::CaseName<InsertOrder>);

// Every pair of ANSI characters: a key is found by the other character
// exactly when Windows' folding makes them one, and sorts as it does.
TEST(SimKeyFolding, LookupAndOrderFollowAnsiFoldingForEveryCharacterPair) {
    for (int first = 1; first < 256; ++first) {
        SimKey key("K");
        const std::string stored = std::string("x") + static_cast<char>(first);
        key.AddSubkey(stored);
        for (int second = 1; second < 256; ++second) {
            const std::string asked = std::string("x") + static_cast<char>(second);
            ASSERT_EQ(key.FindSubkey(asked) != nullptr, image::EqualsIgnoreCase(stored, asked))
                << first << " " << second;
        }
    }
    SimKey all("K");
    std::vector<std::string> names;
    for (int c = 1; c < 256; ++c) {
        const std::string name(1, static_cast<char>(c));
        if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return SameName(n, name); }))
            names.push_back(name);
        all.AddSubkey(name);
    }
    EXPECT_EQ(Names(all), Enumerated(names));
}

TEST(SimKeyRemoval, RemovedKeysAreMarkedDeletedDetachedOnesStayWhole) {
    SimKey root("K");
    const std::shared_ptr<SimKey> removed = root.AddSubkey("Removed");
    const std::shared_ptr<SimKey> removedChild = removed->AddSubkey("Child");
    const std::shared_ptr<SimKey> detached = root.AddSubkey("Detached");
    const std::shared_ptr<SimKey> detachedChild = detached->AddSubkey("Child");

    root.RemoveSubkey(*removed);
    EXPECT_TRUE(removed->Deleted());
    EXPECT_TRUE(removedChild->Deleted());
    EXPECT_EQ(removed->Parent(), nullptr);

    EXPECT_EQ(root.DetachSubkey(*detached), detached);
    EXPECT_FALSE(detached->Deleted());
    EXPECT_FALSE(detachedChild->Deleted());
    EXPECT_EQ(detached->Parent(), nullptr);
    EXPECT_EQ(detachedChild->Parent(), detached.get());
    EXPECT_EQ(detached->FindSubkey("CHILD"), detachedChild);
    EXPECT_TRUE(root.Subkeys().empty());

    // Only a key's own subkey is unlinked, not another of the same name.
    const std::shared_ptr<SimKey> again = root.AddSubkey("detached");
    EXPECT_EQ(root.DetachSubkey(*detached), nullptr);
    EXPECT_EQ(root.FindSubkey("Detached"), again);
}

}  // namespace
}  // namespace purgent::sim
