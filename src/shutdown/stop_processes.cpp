#include "shutdown/stop_processes.h"

#include "shutdown/kill_process.h"

namespace purgent {

const std::vector<std::string>& ProcessesToStop() {
    static const std::vector<std::string> names = {
        "notify.exe",  "addrbook.exe", "grpwise.exe", "gwsync.exe", "gwmailto.exe",
        "gwtip.exe",   "gwreload.exe", "nmcl32.exe",  "msinm.exe",  "outlook.exe",
    };
    return names;
}

void StopProcesses(Platform& platform) {
    for (const std::string& name : ProcessesToStop()) KillProcessByName(platform, name);
}

}  // namespace purgent
