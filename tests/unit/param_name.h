#pragma once
// The name of a table-driven case in test output: its `what`, with every
// character GoogleTest does not take in a name as '_'.
#include <cctype>
#include <string>

#include <gtest/gtest.h>

namespace purgent::testing {

template <class Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    std::string name = info.param.what;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

}  // namespace purgent::testing
