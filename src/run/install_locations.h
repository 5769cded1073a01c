#pragma once
#include <string>

namespace purgent {

// Where things are on this machine, found once per run; "" means not found.
struct InstallLocations {
    std::string WindowsDir;
    std::string WindowsDrive;
    std::string GroupWiseDir;  // always ends in "\"
    std::string MessengerDir;  // always ends in "\"
    std::string CommonSendTo;
    std::string CommonDesktop;
    std::string CommonStartup;
    std::string CommonPrograms;
    std::string UserSendTo;
    std::string UserDesktop;
    std::string UserStartup;
    std::string UserPrograms;
    std::string LogonUserName;
    std::string DefaultUserProfile;
    std::string AllUsersProfile;
};

}  // namespace purgent
