// Writes RegistryKeys as regedit's UTF-8 text.
#include <algorithm>
#include <cstdio>

#include "image/ansi_text.h"
#include "image/machine_image.h"
#include "image/reg_text_format.h"

namespace purgent::image {
namespace {

constexpr const char* kNewLine = "\r\n";
// regedit breaks hex lists before column 80.
constexpr std::size_t kHexLineWidth = 76;

std::string Quote(const std::string& ansi) {
    std::string out = "\"";
    for (char c : AnsiToUtf8(ansi)) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

// A REG_SZ that "..." can carry: one terminating NUL, nothing that breaks a line.
bool FitsQuotedString(const Bytes& data) {
    if (data.empty() || data.back() != 0) return false;
    return std::none_of(data.begin(), data.end() - 1,
                        [](std::uint8_t b) { return b == 0 || b == '\r' || b == '\n'; });
}

std::string HexList(const std::string& prefix, const Bytes& bytes) {
    std::string out = prefix;
    std::size_t column = prefix.size();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
        out += hex;
        column += 2;
        if (i + 1 == bytes.size()) break;
        out += ',';
        ++column;
        if (column > kHexLineWidth) {
            out += "\\";
            out += kNewLine;
            out += "  ";
            column = 2;
        }
    }
    return out;
}

std::string ValueLine(const RegistryValue& value) {
    const std::string name = value.name.empty() ? "@" : Quote(value.name);
    if (value.deleted) return name + "=-";
    if (value.type == RegSzType && FitsQuotedString(value.data))
        return name + "=" + Quote(std::string(value.data.begin(), value.data.end() - 1));
    if (value.type == RegDwordType && value.data.size() == 4) {
        char dword[16];
        std::snprintf(dword, sizeof dword, "dword:%08x",
                      value.data[0] | value.data[1] << 8 | value.data[2] << 16 |
                          static_cast<std::uint32_t>(value.data[3]) << 24);
        return name + "=" + dword;
    }
    if (value.type == RegBinaryType) return HexList(name + "=hex:", value.data);
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "=hex(%x):", static_cast<unsigned>(value.type));
    const Bytes bytes = IsStringType(value.type)
                            ? AnsiToUtf16Le(std::string(value.data.begin(), value.data.end()))
                            : value.data;
    return HexList(name + prefix, bytes);
}

}  // namespace

std::string WriteRegText(const RegistryKeys& keys) {
    std::string out = std::string(kRegHeader) + kNewLine;
    for (const RegistryKey& key : keys) {
        out += kNewLine;
        out += (key.deleted ? "[-" : "[") + AnsiToUtf8(key.path) + "]" + kNewLine;
        for (const RegistryValue& value : key.values) out += ValueLine(value) + kNewLine;
    }
    return out;
}

}  // namespace purgent::image
