#pragma once
#include <optional>
#include <string>

#include "platform/platform.h"
#include "run/install_locations.h"
#include "run/process_state.h"
#include "run/profile_set.h"
#include "run/run_options.h"
#include "run/status_reporter.h"

namespace purgent {

// The accessors of the registry and the file system (registry/, files/).
class RegistryAccess;
class FileAccess;

// Everything one cleaning run works with; rebuilt by every run.
struct RunContext {
    Platform& platform;
    StatusReporter& status;
    RegistryAccess& registry;
    FileAccess& files;
    const RunOptions& options;
    ProcessState& process;

    InstallLocations locations = {};
    ProfileSet profiles = {};
    ProfileSids profileSids = {};
    ProfileFolders profileFolders = {};
    // The logged-on user's own folder, from its ProfileList entry; "" when
    // none was told apart.
    std::string logonUserFolder = {};
    // The program folders an interrupted run found; nullopt when the last run
    // completed (or none ever ran).
    std::optional<FolderRecord> recordedFolders = {};
    bool ExcelIntegrationFailed = false;
    bool WordIntegrationFailed = false;

    bool Checked(Option option) const { return options.Checked(option); }
};

}  // namespace purgent
