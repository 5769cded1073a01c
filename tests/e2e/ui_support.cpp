#include "ui_support.h"

#include <filesystem>

namespace purgent::e2e {
namespace {

constexpr int kUiTimeoutSeconds = 200;  // uihelper's own waits are shorter

}  // namespace

PurgentDesk::PurgentDesk(const E2eTarget& target) : target_(target), prefix_(target.arch) {
    // Xvfb has no window manager: let Wine draw every caption itself, so the
    // screenshots show the frames Windows would.
    prefix_.Run({"reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Decorated", "/d", "N",
                 "/f"},
                kUiTimeoutSeconds);
    std::filesystem::copy_file(target_.Exe("marker.exe"), prefix_.UnixPath("C:\\marker.exe"));
}

WineProcess PurgentDesk::StartPurgent(const std::vector<std::string>& args) {
    std::vector<std::string> command{target_.Exe("purgent.exe")};
    command.insert(command.end(), args.begin(), args.end());
    return prefix_.Start(command);
}

int PurgentDesk::Ui(const std::vector<std::string>& args) {
    std::vector<std::string> command{target_.Exe("uihelper.exe")};
    command.insert(command.end(), args.begin(), args.end());
    return prefix_.Run(command, kUiTimeoutSeconds);
}

std::string PurgentDesk::LaunchMarker(const std::string& file, int sleepMs) {
    return "/la-C:\\marker.exe " + file + " " + std::to_string(sleepMs);
}

bool PurgentDesk::FileExists(const std::string& winPath) const {
    return std::filesystem::exists(prefix_.UnixPath(winPath));
}

}  // namespace purgent::e2e
