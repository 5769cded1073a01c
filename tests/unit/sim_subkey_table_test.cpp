#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_key.h"
#include "platform/sim/sim_subkey_table.h"
#include "param_name.h"

namespace purgent::sim {
namespace {

// Names stay where the table's views point while a test runs.
struct Names {
    std::vector<std::unique_ptr<std::string>> owned;
    std::string_view Add(const std::string& name) { return *owned.emplace_back(std::make_unique<std::string>(name)); }
};

struct Churn {
    const char* what;
    int added;       // names 0..added-1 go in
    int removeEvery;  // then every removeEvery-th of them goes
    int readded;     // then names added..added+readded-1 go in
};

// Enough names that probes run into one another and wrap around the end,
// and removals leave holes in the middle of runs.
const Churn kChurns[] = {
    {"one", 1, 1, 0},
    {"a few, all removed", 7, 1, 3},
    {"growing past each size", 1000, 0, 0},
    {"every other removed", 1000, 2, 500},
    {"every third removed", 777, 3, 1234},
    {"all removed then more", 300, 1, 300},
};

void PrintTo(const Churn& churn, std::ostream* out) { *out << churn.what; }

class SubkeyTableChurn : public ::testing::TestWithParam<Churn> {};

TEST_P(SubkeyTableChurn, FindsExactlyWhatIsIn) {
    SubkeyTable table;
    std::map<std::string, std::shared_ptr<SimKey>> expected;
    Names names;
    const auto add = [&](int number) {
        const std::string name = "KEY" + std::to_string(number * 7919);
        auto key = std::make_shared<SimKey>(name);
        table.Insert(names.Add(name), key);
        expected[name] = key;
    };
    const auto check = [&](int upTo) {
        ASSERT_EQ(table.Size(), expected.size());
        for (int number = 0; number < upTo; ++number) {
            const std::string name = "KEY" + std::to_string(number * 7919);
            const auto in = expected.find(name);
            const std::shared_ptr<SimKey>* found = table.Find(name);
            ASSERT_EQ(found != nullptr, in != expected.end()) << name;
            if (found) {
                EXPECT_EQ(*found, in->second) << name;
            }
        }
        std::size_t visited = 0;
        table.ForEach([&](std::string_view name, const std::shared_ptr<SimKey>& key) {
            ++visited;
            EXPECT_EQ(expected.at(std::string(name)), key);
        });
        EXPECT_EQ(visited, expected.size());
    };

    const Churn& churn = GetParam();
    for (int number = 0; number < churn.added; ++number) add(number);
    check(churn.added + churn.readded);
    if (churn.removeEvery > 0) {
        for (int number = 0; number < churn.added; number += churn.removeEvery) {
            const std::string name = "KEY" + std::to_string(number * 7919);
            EXPECT_EQ(table.Remove(name), expected[name]) << name;
            expected.erase(name);
            EXPECT_EQ(table.Remove(name), nullptr) << name;
        }
        check(churn.added + churn.readded);
    }
    for (int number = churn.added; number < churn.added + churn.readded; ++number) add(number);
    check(churn.added + churn.readded);
}

INSTANTIATE_TEST_SUITE_P(Churns, SubkeyTableChurn, ::testing::ValuesIn(kChurns),
                         testing::CaseName<Churn>);

TEST(SubkeyTable, AnEmptyTableFindsAndRemovesNothing) {
    SubkeyTable table;
    EXPECT_EQ(table.Find("KEY"), nullptr);
    EXPECT_EQ(table.Remove("KEY"), nullptr);
    EXPECT_EQ(table.Size(), 0u);
}

}  // namespace
}  // namespace purgent::sim
