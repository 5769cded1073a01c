#include "platform/sim/sim_text.h"

#include "image/ansi_text.h"

namespace purgent::sim {
namespace {

// Windows-1252 letters with a case partner: ASCII, the Latin-1 block (but the
// signs × and ÷) and Š Œ Ž Ÿ in 0x80..0x9F. ß and µ have no partner here.
unsigned char Lower(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    switch (c) {
        case 0x8A: case 0x8C: case 0x8E: return c + 0x10;
        case 0x9F: return 0xFF;
        default: return c;
    }
}

unsigned char Upper(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
    switch (c) {
        case 0x9A: case 0x9C: case 0x9E: return c - 0x10;
        case 0xFF: return 0x9F;
        default: return c;
    }
}

template <typename Map>
std::string Convert(std::string text, Map map) {
    for (char& c : text) c = static_cast<char>(map(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string SimText::LowerCase(const std::string& text) { return Convert(text, Lower); }
std::string SimText::UpperCase(const std::string& text) { return Convert(text, Upper); }
std::string SimText::ToUtf8(const std::string& text) { return image::AnsiToUtf8(text); }

}  // namespace purgent::sim
