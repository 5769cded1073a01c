// Reads regedit documents into RegistryKeys.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

#include "image/ansi_text.h"
#include "image/machine_image.h"
#include "image/reg_text_format.h"

namespace purgent::image {
namespace {

// The document as ANSI text (REGEDIT4 exports are ANSI already), and the
// lines that held a character without a Windows-1252 form.
struct Document {
    std::string text;
    std::vector<int> lossyLines;
};

Document DecodeDocument(const Bytes& bytes, const std::string& source) {
    Document document;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        if (bytes.size() % 2 != 0) throw ImageError(source + ": UTF-16 text ends in half a character");
        document.text = Utf16LeToAnsi(Bytes(bytes.begin() + 2, bytes.end()), document.lossyLines);
        return document;
    }
    if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        throw ImageError(source + ": UTF-16 big-endian text is not supported");
    document.text = TextFileToAnsi(std::string(bytes.begin(), bytes.end()), document.lossyLines);
    return document;
}

// Windows' own limits: what it cannot hold, an image cannot describe.
constexpr std::size_t kMaxKeyDepth = 512;           // levels below the root key
constexpr std::size_t kMaxKeyNameLength = 255;      // one key name
constexpr std::size_t kMaxValueNameLength = 16383;

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// A value line that goes on in the next: it ends with a backslash.
bool Continues(std::string_view line) {
    return !line.empty() && line.back() == '\\' && line[0] != '[' && line[0] != ';';
}

class RegTextParser {
public:
    RegTextParser(std::string source, const char* requiredRoot)
        : source_(std::move(source)), requiredRoot_(requiredRoot) {}

    RegistryKeys Parse(const Document& document) {
        lossyLines_ = document.lossyLines;
        for (LineReader lines(document.text); !lines.Done();) {
            lineNumber_ = lines.Count() + 1;
            HandleLine(JoinContinuedLines(lines));
        }
        if (!headerSeen_) throw ImageError(source_ + ": missing \"" + kRegHeader + "\" header");
        return std::move(keys_);
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw ImageError(source_ + ":" + std::to_string(lineNumber_) + ": " + what);
    }

    // One logical line: value lines continue while they end with a backslash.
    // Valid until the next call.
    std::string_view JoinContinuedLines(LineReader& lines) {
        const std::string_view first = TrimView(lines.Next());
        if (lines.Done() || !Continues(first)) return first;
        joined_.assign(first);
        while (!lines.Done() && Continues(joined_)) {
            joined_.pop_back();
            joined_ += TrimView(lines.Next());
        }
        return joined_;
    }

    void HandleLine(std::string_view line) {
        if (line.empty() || line[0] == ';') return;
        if (!headerSeen_) {
            if (line == kRegHeader) unicode_ = true;
            else if (line == "REGEDIT4") unicode_ = false;
            else Fail(std::string("expected \"") + kRegHeader + "\" or \"REGEDIT4\"");
            headerSeen_ = true;
            return;
        }
        if (line[0] == '[') return HandleKey(line);
        if (keys_.empty()) Fail("value outside any key");
        if (keys_.back().deleted) Fail("value under a deleted key");
        keys_.back().values.push_back(ParseValue(line));
    }

    void HandleKey(std::string_view line) {
        if (line.back() != ']') Fail("key line without closing ']'");
        // As "?" it would name another key, or merge two.
        if (std::find(lossyLines_.begin(), lossyLines_.end(), lineNumber_) != lossyLines_.end())
            Fail("a key name holds a character that Windows-1252 lacks");
        std::string inner(line.substr(1, line.size() - 2));
        RegistryKey key;
        if (!inner.empty() && inner[0] == '-') {
            key.deleted = true;
            inner.erase(0, 1);
        }
        key.path = NormalizeKeyPath(inner);
        if (key.deleted && key.path.find('\\') == std::string::npos) Fail("a root key cannot be deleted");
        if (requiredRoot_ && !IsUnder(key.path, requiredRoot_))
            Fail("key \"" + key.path + "\" is not under " + requiredRoot_);
        keys_.push_back(std::move(key));
    }

    static bool IsUnder(std::string_view path, std::string_view root) {
        return StartsWith(path, root) && (path.size() == root.size() || path[root.size()] == '\\');
    }

    std::string NormalizeKeyPath(std::string path) const {
        while (!path.empty() && path.back() == '\\') path.pop_back();
        const auto slash = path.find('\\');
        const std::string rootName = path.substr(0, slash);
        const char* root = CanonicalRoot(rootName);
        if (!root) Fail("unknown root key \"" + rootName + "\"");
        const std::string rest = slash == std::string::npos ? "" : path.substr(slash);
        CheckKeyNames(path, rest, std::count(root, root + std::strlen(root), '\\'));
        return root + rest;
    }

    // rest: the path below its root, each name after a backslash; the root's
    // stored spelling may itself lie some levels down (HKEY_CLASSES_ROOT).
    void CheckKeyNames(const std::string& path, const std::string& rest, std::size_t depth) const {
        for (std::size_t start = 0; start < rest.size(); ++depth) {
            const std::size_t end = std::min(rest.find('\\', start + 1), rest.size());
            const std::size_t length = end - start - 1;
            if (length == 0) Fail("empty key name in \"" + path + "\"");
            if (length > kMaxKeyNameLength)
                Fail("key name longer than " + std::to_string(kMaxKeyNameLength) + " characters");
            start = end;
        }
        if (depth > kMaxKeyDepth) Fail("key nested deeper than " + std::to_string(kMaxKeyDepth) + " levels");
    }

    // The text up to the closing quote, a run between escapes at a time.
    std::string ParseQuoted(std::string_view line, std::size_t& pos) const {
        std::string out;
        for (++pos; pos < line.size(); ++pos) {
            std::size_t special = pos;
            while (special < line.size() && line[special] != '"' && line[special] != '\\') ++special;
            if (special == line.size()) break;
            out += line.substr(pos, special - pos);
            pos = special;
            if (line[pos] == '"') {
                ++pos;
                return out;
            }
            if (++pos >= line.size() || (line[pos] != '\\' && line[pos] != '"'))
                Fail("invalid escape in string (write \\\\ for a backslash)");
            out += line[pos];
        }
        Fail("unterminated string");
    }

    RegistryValue ParseValue(std::string_view line) {
        RegistryValue value;
        std::size_t pos = 0;
        if (line[0] == '@') pos = 1;
        else if (line[0] == '"') value.name = ParseQuoted(line, pos);
        else Fail("expected \"name\"= or @=");
        if (value.name.size() > kMaxValueNameLength)
            Fail("value name longer than " + std::to_string(kMaxValueNameLength) + " characters");
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
        if (pos >= line.size() || line[pos] != '=') Fail("expected '=' after the value name");
        const std::string_view data = TrimView(line.substr(pos + 1));
        if (data == "-") {
            value.deleted = true;
        } else if (!data.empty() && data[0] == '"') {
            std::size_t at = 0;
            const std::string text = ParseQuoted(data, at);
            if (at != data.size()) Fail("unexpected text after the string");
            value.type = RegSzType;
            value.data.assign(text.begin(), text.end());
            value.data.push_back(0);
        } else if (StartsWith(data, "dword:")) {
            value.type = RegDwordType;
            const std::uint32_t number = ParseHexNumber(data.substr(6), "dword");
            for (int shift = 0; shift < 32; shift += 8)
                value.data.push_back(static_cast<std::uint8_t>(number >> shift));
        } else if (StartsWith(data, "hex")) {
            ParseHexValue(data.substr(3), value);
        } else {
            Fail("unknown value data \"" + std::string(data) + "\"");
        }
        return value;
    }

    std::uint32_t ParseHexNumber(std::string_view digits, const char* what) const {
        std::uint32_t number = 0;
        const auto hexDigit = [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        };
        const bool allHex =
            !digits.empty() && digits.size() <= 8 && std::all_of(digits.begin(), digits.end(), hexDigit);
        if (!allHex) Fail(std::string("invalid ") + what + " \"" + std::string(digits) + "\"");
        std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
        return number;
    }

    // After "hex": ":" (REG_BINARY) or "(N):".
    void ParseHexValue(std::string_view rest, RegistryValue& value) const {
        std::size_t colon = rest.find(':');
        if (colon == std::string_view::npos) Fail("expected ':' after hex");
        value.type = RegBinaryType;
        if (colon != 0) {
            if (rest[0] != '(' || rest[colon - 1] != ')') Fail("expected hex(type):");
            value.type = ParseHexNumber(rest.substr(1, colon - 2), "value type");
        }
        Bytes bytes;
        const std::string_view list = TrimView(rest.substr(colon + 1));
        for (std::size_t pos = 0; !list.empty() && pos <= list.size();) {
            const std::size_t comma = std::min(list.find(',', pos), list.size());
            const std::string_view byte = TrimView(list.substr(pos, comma - pos));
            if (byte.size() > 2) Fail("invalid hex byte \"" + std::string(byte) + "\"");
            bytes.push_back(static_cast<std::uint8_t>(ParseHexNumber(byte, "hex byte")));
            pos = comma + 1;
        }
        if (unicode_ && IsStringType(value.type)) {
            if (bytes.size() % 2 != 0) Fail("UTF-16 string data with an odd number of bytes");
            const std::string ansi = Utf16LeToAnsi(bytes);
            bytes.assign(ansi.begin(), ansi.end());
        }
        value.data = std::move(bytes);
    }

    std::string source_;
    const char* requiredRoot_;
    RegistryKeys keys_;
    bool headerSeen_ = false;
    bool unicode_ = true;
    int lineNumber_ = 0;
    std::vector<int> lossyLines_;
    std::string joined_;  // a logical line of several
};

}  // namespace

RegistryKeys ParseRegText(const Bytes& text, const std::string& sourceName) {
    return RegTextParser(sourceName, nullptr).Parse(DecodeDocument(text, sourceName));
}

RegistryKeys ParseHiveText(const Bytes& text, const std::string& sourceName) {
    return RegTextParser(sourceName, "HKEY_CURRENT_USER").Parse(DecodeDocument(text, sourceName));
}

}  // namespace purgent::image
