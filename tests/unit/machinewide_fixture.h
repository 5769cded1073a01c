#pragma once
// The registry test machine set up for the machine-wide catalogues: the
// default options of the window (Writing Tools on, Web Services off) and a
// progress bar long enough never to wrap.
#include <string>
#include <vector>

#include "registry_test_machine.h"

namespace purgent::testing {

struct MachinewideFixture : RegistryTestMachine {
    explicit MachinewideFixture(const std::string& regText = "") : RegistryTestMachine(regText) {
        options.checked.insert(Option::WritingTools);
        status.SetProgressMaximum(100000);
    }

    void Set(Option option, bool checked) {
        if (checked)
            options.checked.insert(option);
        else
            options.checked.erase(option);
    }

    bool HasValue(const std::string& path, const std::string& name) const {
        return StringValue(path, name) != "<absent>";
    }
    // The paths shown in the detail panel, in order.
    const std::vector<std::string>& Items() const { return view.items; }
    int Steps() const { return status.Position(); }
};

}  // namespace purgent::testing
