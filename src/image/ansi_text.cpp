#include "image/ansi_text.h"

#include <algorithm>
#include <array>
#include <utility>

namespace purgent::image {
namespace {

// Code points of Windows-1252 bytes 0x80..0x9F. The five unassigned bytes map
// to the control characters of the same number, as Windows does.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t AnsiToCodePoint(unsigned char c) {
    return c >= 0x80 && c < 0xA0 ? kHighControls[c - 0x80] : c;
}

char CodePointToAnsi(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
    return '?';
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[pos]; false when malformed.
bool DecodeUtf8(const std::string& text, std::size_t& pos, char32_t& cp) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    const int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2
                      : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || pos + extra >= text.size()) return false;
    cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (next & 0x3F);
    }
    static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) return false;
    pos += extra + 1;
    return true;
}

// ANSI text built character by character, remembering the lines where a
// character had no Windows-1252 form.
class AnsiBuilder {
public:
    explicit AnsiBuilder(std::vector<int>& lossyLines) : lossyLines_(lossyLines) {}
    // Characters below 0x80, the same in UTF-8, UTF-16 and Windows-1252.
    void AddAscii(std::string_view ascii) {
        out_ += ascii;
        line_ += static_cast<int>(std::count(ascii.begin(), ascii.end(), '\n'));
    }
    void Add(char32_t cp) {
        const char c = CodePointToAnsi(cp);
        if (c == '?' && cp != '?') Lost();
        else out_ += c;
        if (c == '\n') ++line_;
    }
    void Lost() {
        out_ += '?';
        if (lossyLines_.empty() || lossyLines_.back() != line_) lossyLines_.push_back(line_);
    }
    std::string Text() { return std::move(out_); }

private:
    std::vector<int>& lossyLines_;
    std::string out_;
    int line_ = 1;
};

// Where the run of characters below 0x80 from pos ends: text is mostly
// ASCII, and a run needs no conversion.
std::size_t AsciiRunEnd(std::string_view text, std::size_t pos) {
    while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80) ++pos;
    return pos;
}

}  // namespace

std::string Utf8ToAnsi(const std::string& utf8) {
    std::vector<int> lossyLines;
    return Utf8ToAnsi(utf8, lossyLines);
}

std::string Utf8ToAnsi(const std::string& utf8, std::vector<int>& lossyLines) {
    AnsiBuilder out(lossyLines);
    for (std::size_t pos = 0; pos < utf8.size();) {
        if (const std::size_t end = AsciiRunEnd(utf8, pos); end > pos) {
            out.AddAscii(std::string_view(utf8).substr(pos, end - pos));
            pos = end;
            continue;
        }
        char32_t cp = 0;
        if (!DecodeUtf8(utf8, pos, cp)) {
            out.Lost();
            ++pos;
            continue;
        }
        out.Add(cp);
    }
    return out.Text();
}

std::string AnsiToUtf8(const std::string& ansi) {
    std::string out;
    AppendAnsiAsUtf8(out, ansi);
    return out;
}

void AppendAnsiAsUtf8(std::string& utf8, std::string_view ansi) {
    for (std::size_t pos = 0; pos < ansi.size();) {
        const std::size_t end = AsciiRunEnd(ansi, pos);
        utf8 += ansi.substr(pos, end - pos);
        if (end < ansi.size()) AppendUtf8(utf8, AnsiToCodePoint(static_cast<unsigned char>(ansi[end])));
        pos = end + 1;
    }
}

std::string Utf16LeToAnsi(const std::vector<std::uint8_t>& utf16) {
    std::vector<int> lossyLines;
    return Utf16LeToAnsi(utf16, lossyLines);
}

std::string Utf16LeToAnsi(const std::vector<std::uint8_t>& utf16, std::vector<int>& lossyLines) {
    AnsiBuilder out(lossyLines);
    for (std::size_t i = 0; i + 1 < utf16.size(); i += 2) {
        const char32_t unit = utf16[i] | (utf16[i + 1] << 8);
        // A surrogate pair is one character outside Windows-1252.
        if (unit >= 0xDC00 && unit < 0xE000 && i >= 2) {
            const char32_t previous = utf16[i - 2] | (utf16[i - 1] << 8);
            if (previous >= 0xD800 && previous < 0xDC00) continue;
        }
        out.Add(unit);
    }
    return out.Text();
}

std::vector<std::uint8_t> AnsiToUtf16Le(const std::string& ansi) {
    std::vector<std::uint8_t> out;
    for (char c : ansi) {
        const char32_t cp = AnsiToCodePoint(static_cast<unsigned char>(c));
        out.push_back(static_cast<std::uint8_t>(cp & 0xFF));
        out.push_back(static_cast<std::uint8_t>(cp >> 8));
    }
    return out;
}

bool IsValidUtf8(const std::string& text) {
    char32_t cp = 0;
    for (std::size_t pos = AsciiRunEnd(text, 0); pos < text.size(); pos = AsciiRunEnd(text, pos))
        if (!DecodeUtf8(text, pos, cp)) return false;
    return true;
}

std::string TextFileToAnsi(std::string bytes) {
    std::vector<int> lossyLines;
    return TextFileToAnsi(std::move(bytes), lossyLines);
}

std::string TextFileToAnsi(std::string bytes, std::vector<int>& lossyLines) {
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    // Plain ASCII reads the same either way, and most files are: no conversion.
    if (AsciiRunEnd(bytes, 0) == bytes.size()) return bytes;
    return IsValidUtf8(bytes) ? Utf8ToAnsi(bytes, lossyLines) : bytes;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    for (LineReader reader(text); !reader.Done();) lines.emplace_back(reader.Next());
    return lines;
}

std::string_view LineReader::Next() {
    const std::size_t end = std::min(text_.find('\n', pos_), text_.size());
    std::string_view line = text_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    ++count_;
    return line;
}

std::string Trim(const std::string& text) { return std::string(TrimView(text)); }

// A carriage return left at a line's end (text converted to CR LF twice) is blank too.
std::string_view TrimView(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

}  // namespace purgent::image
