#include "platform/file_mask.h"

#include <vector>

#include "image/ansi_text.h"

namespace purgent {
namespace {

// The pattern as the file system matches it, after FindFirstFileA's
// translation of the DOS wildcards.
enum class Kind {
    Literal,
    AnyRun,         // "*"
    RunToLastDot,   // "*" before dropped trailing dots: never takes the name's last dot
    OneOrNone,      // "?": one character, or none at a dot or the end
    DotOrEnd,       // a dot before "*" or "?"
};

struct Token {
    Kind kind;
    char c = 0;
};

std::vector<Token> Translate(const std::string& pattern) {
    std::string core = pattern;
    bool droppedDot = false;
    while (!core.empty() && (core.back() == '.' || core.back() == ' ')) {
        droppedDot = droppedDot || core.back() == '.';
        core.pop_back();
    }
    if (!droppedDot && (core == "*" || core == "*.*")) return {{Kind::AnyRun}};
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < core.size(); ++i) {
        const char c = core[i];
        const bool wildcardNext = i + 1 < core.size() && (core[i + 1] == '*' || core[i + 1] == '?');
        if (c == '*') tokens.push_back({droppedDot && i + 1 == core.size() ? Kind::RunToLastDot : Kind::AnyRun});
        else if (c == '?') tokens.push_back({Kind::OneOrNone});
        else if (c == '.' && wildcardNext) tokens.push_back({Kind::DotOrEnd});
        else tokens.push_back({Kind::Literal, image::FoldCase(c)});
    }
    return tokens;
}

}  // namespace

std::string MaskPattern(const std::string& mask) {
    const auto separator = mask.find_last_of("\\/");
    return separator == std::string::npos ? mask : mask.substr(separator + 1);
}

bool HasWildcards(const std::string& pattern) { return pattern.find_first_of("*?") != std::string::npos; }

bool FitsMask(const std::string& name, const std::string& pattern) {
    const std::vector<Token> tokens = Translate(pattern);
    const std::size_t n = name.size();
    const std::size_t lastDot = name.rfind('.');
    // fits[t * (n + 1) + j]: tokens from t on fit the name from j on.
    std::vector<char> fits((tokens.size() + 1) * (n + 1), 0);
    const auto at = [&](std::size_t t, std::size_t j) -> char& { return fits[t * (n + 1) + j]; };
    at(tokens.size(), n) = 1;
    for (std::size_t t = tokens.size(); t-- > 0;) {
        for (std::size_t j = n + 1; j-- > 0;) {
            const bool end = j == n;
            const char c = end ? 0 : name[j];
            const Token& token = tokens[t];
            switch (token.kind) {
                case Kind::AnyRun: at(t, j) = at(t + 1, j) || (!end && at(t, j + 1)); break;
                case Kind::RunToLastDot: at(t, j) = at(t + 1, j) || (!end && j != lastDot && at(t, j + 1)); break;
                case Kind::OneOrNone: at(t, j) = end || c == '.' ? at(t + 1, j) : at(t + 1, j + 1); break;
                case Kind::DotOrEnd: at(t, j) = end ? at(t + 1, j) : c == '.' && at(t + 1, j + 1); break;
                case Kind::Literal: at(t, j) = !end && image::FoldCase(c) == token.c && at(t + 1, j + 1); break;
            }
        }
    }
    return n > 0 && at(0, 0);
}

}  // namespace purgent
