#pragma once
#include <map>
#include <string>

#include "demo_report.h"

namespace purgent::report {

// Keys and folders alike in any case are one; an image may spell one
// "SOFTWARE" here and "Software" there. A page names each in the spelling it
// met first, so that a reader never takes one key for two.
class FirstSpellings {
public:
    // path ("HKEY_LOCAL_MACHINE\\Software\\X", "C:\\Novell\\x.dll") with each
    // of its leading parts spelled as first seen.
    std::string Of(const std::string& path);
    // The item with its key or path spelled so; a value's name stays.
    demo::Item Of(const demo::Item& item);

private:
    std::map<std::string, std::string> spelled_;  // folded leading part -> first spelling
};

}  // namespace purgent::report
