// Writes RegistryKeys as regedit's UTF-8 text.
#include "image/reg_text_writer.h"

#include <algorithm>
#include <bit>

#include "image/ansi_text.h"
#include "image/reg_text_format.h"

namespace purgent::image {
namespace {

constexpr const char* kNewLine = "\r\n";
// regedit breaks hex lists before column 80.
constexpr std::size_t kHexLineWidth = 76;

// A REG_SZ that "..." can carry: one terminating NUL, nothing that breaks a line.
bool FitsQuotedString(const Bytes& data) {
    if (data.empty() || data.back() != 0) return false;
    return std::none_of(data.begin(), data.end() - 1,
                        [](std::uint8_t b) { return b == 0 || b == '\r' || b == '\n'; });
}

// Lower-case hex digits, as many as asked for.
void AppendHex(std::string& out, std::uint32_t number, int digits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kDigits[(number >> shift) & 0xF];
}

}  // namespace

RegTextWriter::RegTextWriter() : text_(std::string(kRegHeader) + kNewLine) {}

void RegTextWriter::Key(const std::string& path, bool deleted) {
    text_ += kNewLine;
    text_ += deleted ? "[-" : "[";
    AppendAnsiAsUtf8(text_, path);
    text_ += "]";
    text_ += kNewLine;
}

void RegTextWriter::Quoted(std::string_view ansi) {
    text_ += '"';
    std::size_t start = 0;
    for (std::size_t at = 0; at < ansi.size(); ++at) {
        if (ansi[at] != '\\' && ansi[at] != '"') continue;
        AppendAnsiAsUtf8(text_, ansi.substr(start, at - start));
        text_ += '\\';
        text_ += ansi[at];
        start = at + 1;
    }
    AppendAnsiAsUtf8(text_, ansi.substr(start));
    text_ += '"';
}

void RegTextWriter::ValueName(const std::string& name) {
    if (name.empty()) text_ += '@';
    else Quoted(name);
    text_ += '=';
}

void RegTextWriter::DeletedValue(const std::string& name) {
    ValueName(name);
    text_ += '-';
    text_ += kNewLine;
}

void RegTextWriter::Value(const std::string& name, std::uint32_t type, const Bytes& data) {
    const std::size_t lineStart = text_.size();
    ValueName(name);
    if (type == RegSzType && FitsQuotedString(data)) {
        Quoted(std::string_view(reinterpret_cast<const char*>(data.data()), data.size() - 1));
    } else if (type == RegDwordType && data.size() == 4) {
        text_ += "dword:";
        AppendHex(text_, data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24, 8);
    } else if (type == RegBinaryType) {
        text_ += "hex:";
        HexList(data, lineStart);
    } else {
        text_ += "hex(";
        AppendHex(text_, type, std::max(1, static_cast<int>(std::bit_width(type) + 3) / 4));
        text_ += "):";
        HexList(IsStringType(type) ? AnsiToUtf16Le(std::string(data.begin(), data.end())) : data, lineStart);
    }
    text_ += kNewLine;
}

void RegTextWriter::HexList(const Bytes& bytes, std::size_t lineStart) {
    std::size_t column = text_.size() - lineStart;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        AppendHex(text_, bytes[i], 2);
        column += 2;
        if (i + 1 == bytes.size()) break;
        text_ += ',';
        ++column;
        if (column > kHexLineWidth) {
            text_ += "\\";
            text_ += kNewLine;
            text_ += "  ";
            column = 2;
        }
    }
}

std::string WriteRegText(const RegistryKeys& keys) {
    RegTextWriter writer;
    for (const RegistryKey& key : keys) {
        writer.Key(key.path, key.deleted);
        for (const RegistryValue& value : key.values) {
            if (value.deleted) writer.DeletedValue(value.name);
            else writer.Value(value.name, value.type, value.data);
        }
    }
    return std::move(writer).Text();
}

}  // namespace purgent::image
