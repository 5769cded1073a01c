#pragma once
// Windows-1252 text, the program's ANSI code page, and the conversions the
// image files need.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace purgent::image {

// Characters without a Windows-1252 form become '?', as WideCharToMultiByte
// does; lossyLines gets the 1-based number of each line that held one.
std::string Utf8ToAnsi(const std::string& utf8);
std::string Utf8ToAnsi(const std::string& utf8, std::vector<int>& lossyLines);
std::string AnsiToUtf8(const std::string& ansi);
// ANSI text appended to UTF-8 text.
void AppendAnsiAsUtf8(std::string& utf8, std::string_view ansi);
// Each UTF-16 code unit becomes one ANSI byte (NULs included).
std::string Utf16LeToAnsi(const std::vector<std::uint8_t>& utf16);
std::string Utf16LeToAnsi(const std::vector<std::uint8_t>& utf16, std::vector<int>& lossyLines);
std::vector<std::uint8_t> AnsiToUtf16Le(const std::string& ansi);
bool IsValidUtf8(const std::string& text);
// A text file's bytes as ANSI: a UTF-8 BOM is dropped and UTF-8 converted;
// bytes that are not UTF-8 are taken as ANSI already.
std::string TextFileToAnsi(std::string bytes);
std::string TextFileToAnsi(std::string bytes, std::vector<int>& lossyLines);

// The lines of a text, CRLF or LF; no empty last line for a final line break.
std::vector<std::string> SplitLines(const std::string& text);

// The same lines one at a time, as views of the text.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool Done() const { return pos_ >= text_.size(); }
    // How many lines have been read.
    int Count() const { return count_; }
    std::string_view Next();

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    int count_ = 0;
};

// Without leading and trailing blanks, tabs and carriage returns.
std::string Trim(const std::string& text);
std::string_view TrimView(std::string_view text);

// Case-insensitive comparison as Windows matches file and key names
// (ASCII and the Latin-1 letters of Windows-1252). Inline: every name
// lookup folds each character.
inline char FoldCase(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') return static_cast<char>(u - 0x20);
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<char>(u - 0x20);
    switch (u) {
        case 0x9A: return static_cast<char>(0x8A);
        case 0x9C: return static_cast<char>(0x8C);
        case 0x9E: return static_cast<char>(0x8E);
        case 0xFF: return static_cast<char>(0x9F);
        default: return c;
    }
}
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace purgent::image
