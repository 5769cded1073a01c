#include "platform/sim/sim_short_names.h"

#include <cctype>

#include "platform/sim/sim_names.h"

namespace purgent::sim {
namespace {

const std::string kNeverValid = "\"*/:<>?\\|";
const std::string kReplaced = "+,;=[]";

// Without blanks and dots, characters 8.3 names cannot hold as "_", in upper case.
std::string Cleaned(const std::string& text) {
    std::string cleaned;
    for (const char c : text) {
        if (c == ' ' || c == '.') continue;
        cleaned += kReplaced.find(c) != std::string::npos
                       ? '_'
                       : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return cleaned;
}

}  // namespace

bool IsShortName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return true;
    if (name.find_first_of(kNeverValid + kReplaced + " ") != std::string::npos) return false;
    const auto dot = name.find('.');
    if (dot != name.rfind('.') || dot == 0) return false;
    const std::string::size_type base = dot == std::string::npos ? name.size() : dot;
    const std::string::size_type extension = dot == std::string::npos ? 0 : name.size() - dot - 1;
    return base <= 8 && extension <= 3;
}

std::string MakeShortName(const std::string& name, const std::set<std::string>& taken) {
    if (IsShortName(name)) return "";
    const std::string trimmed = name.substr(std::min(name.find_first_not_of('.'), name.size()));
    const auto dot = trimmed.rfind('.');
    std::string base = Cleaned(trimmed.substr(0, dot));
    const std::string extension = dot == std::string::npos ? "" : Cleaned(trimmed.substr(dot + 1)).substr(0, 3);
    if (base.empty()) base = "_";
    for (int number = 1;; ++number) {
        const std::string tail = "~" + std::to_string(number);
        const std::string candidate =
            base.substr(0, std::min<std::size_t>(6, 8 - tail.size())) + tail + (extension.empty() ? "" : "." + extension);
        if (!taken.count(FoldName(candidate))) return candidate;
    }
}

}  // namespace purgent::sim
