#include "files/path_template.h"

#include <stdexcept>

namespace purgent {

PathFields::PathFields(const InstallLocations& l)
    : values_{{"WindowsDir", l.WindowsDir},         {"WindowsDrive", l.WindowsDrive},
              {"GroupWiseDir", l.GroupWiseDir},     {"MessengerDir", l.MessengerDir},
              {"CommonSendTo", l.CommonSendTo},     {"CommonDesktop", l.CommonDesktop},
              {"CommonStartup", l.CommonStartup},   {"CommonPrograms", l.CommonPrograms},
              {"UserSendTo", l.UserSendTo},         {"UserDesktop", l.UserDesktop},
              {"UserStartup", l.UserStartup},       {"UserPrograms", l.UserPrograms},
              {"LogonUserName", l.LogonUserName},   {"DefaultUserProfile", l.DefaultUserProfile},
              {"AllUsersProfile", l.AllUsersProfile}} {}

std::string PathFields::Expand(const PathTemplate& path) const {
    std::string expanded;
    std::string::size_type start = 0;
    for (auto open = path.find('<'); open != std::string::npos; open = path.find('<', start)) {
        const auto close = path.find('>', open);
        if (close == std::string::npos) throw std::logic_error("unclosed field in " + path);
        const auto value = values_.find(path.substr(open + 1, close - open - 1));
        if (value == values_.end()) throw std::logic_error("unknown field in " + path);
        expanded += path.substr(start, open - start) + value->second;
        start = close + 1;
    }
    return expanded + path.substr(start);
}

}  // namespace purgent
