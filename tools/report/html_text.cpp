#include "html_text.h"

#include "image/ansi_text.h"

namespace purgent::report {

std::string HtmlEscape(std::string_view utf8) {
    std::string html;
    html.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
            case '&': html += "&amp;"; break;
            case '<': html += "&lt;"; break;
            case '>': html += "&gt;"; break;
            case '"': html += "&quot;"; break;
            case '\'': html += "&#39;"; break;
            default: html += c;
        }
    }
    return html;
}

std::string HtmlText(const std::string& ansi) { return HtmlEscape(image::AnsiToUtf8(ansi)); }

}  // namespace purgent::report
