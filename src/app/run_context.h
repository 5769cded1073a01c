#pragma once
#include "app/process_state.h"
#include "app/run_options.h"
#include "app/status_reporter.h"
#include "discovery/install_locations.h"
#include "discovery/profile_set.h"
#include "files/file_access.h"
#include "platform/platform.h"
#include "registry/registry_access.h"

namespace purgent {

// Everything one cleaning run works with; rebuilt by every run.
struct RunContext {
    Platform& platform;
    StatusReporter& status;
    RegistryAccess& registry;
    const RunOptions& options;
    ProcessState& process;

    InstallLocations locations;
    ProfileSet profiles;
    bool ExcelIntegrationFailed = false;
    bool WordIntegrationFailed = false;
    FileAccess files{platform.files, status};

    bool Checked(Option option) const { return options.Checked(option); }
};

}  // namespace purgent
