#include "platform/sim/sim_environment.h"

#include <algorithm>

#include "platform/sim/sim_names.h"

namespace purgent::sim {

namespace {
// GetVersionExA's id for Win32s, standing for any platform of neither family.
constexpr std::uint32_t PlatformOther = 0;
}  // namespace

SimEnvironment::SimEnvironment(const image::MachineSettings& settings, SimRegistry& registry)
    : registry_(registry),
      runInProgress_(std::any_of(settings.otherKeys.begin(), settings.otherKeys.end(),
                                 [](const image::IniEntry& entry) {
                                     return entry.key == "run-in-progress" && entry.value == "yes";
                                 })),
      windir_(settings.windir),
      platform_(settings.platform) {}

void SimEnvironment::WriteFolderRecord(const FolderRecord& record) {
    RemoveFolderRecord();
    registry_.Load({FolderRecordKeyOf(record)});
}

std::optional<std::string> SimEnvironment::Variable(const std::string& name) {
    if (SameName(name, "COMPUTERNAME")) return std::string(SimComputerName);
    // Without windir the machine has no system folder to put on PATH either.
    if (!windir_) return std::nullopt;
    if (SameName(name, "windir")) return windir_;
    if (SameName(name, "PATH")) return *windir_ + "\\system32;" + *windir_;
    if (SameName(name, "COMSPEC")) return *windir_ + "\\system32\\cmd.exe";
    if (SameName(name, "SystemDrive")) return windir_->substr(0, 2);
    return std::nullopt;
}

bool SimEnvironment::PlatformId(std::uint32_t& id) {
    switch (platform_) {
        case image::PlatformFamily::Nt: id = PlatformWinNT; break;
        case image::PlatformFamily::Win9x: id = PlatformWin9x; break;
        case image::PlatformFamily::Other: id = PlatformOther; break;
    }
    return true;
}

// Windows has its folder whatever the variable says; the bare workstation's
// is C:\WINDOWS.
std::string SimEnvironment::WindowsDirectory() { return windir_ && !windir_->empty() ? *windir_ : "C:\\WINDOWS"; }

}  // namespace purgent::sim
