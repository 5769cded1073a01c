#pragma once
#include <string>

namespace purgent::report {

// The program's text (ANSI, as the trace and the images hold it) as UTF-8
// for an HTML page, with the characters markup gives a meaning escaped: a
// key or file name can never become markup of the page.
std::string HtmlText(const std::string& ansi);

}  // namespace purgent::report
