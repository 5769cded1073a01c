#pragma once
#include <string>
#include <string_view>

namespace purgent::report {

// UTF-8 text for an HTML page, with the characters markup gives a meaning
// escaped: a key or file name can never become markup of the page.
std::string HtmlEscape(std::string_view utf8);

// The program's text (ANSI, as the trace and the images hold it), escaped
// the same way.
std::string HtmlText(const std::string& ansi);

}  // namespace purgent::report
