#include "html_text.h"

#include "image/ansi_text.h"

namespace purgent::report {

std::string HtmlText(const std::string& ansi) {
    std::string html;
    for (const char c : image::AnsiToUtf8(ansi)) {
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

}  // namespace purgent::report
