// Judges folders with the own-folder rule against the real (Wine) machine,
// its locations found as a run finds them, and prints one line per folder:
//   ownfolder_probe.exe [--no-windir] FOLDER...   -> "desktop\tTHE USER'S DESKTOP", then
//                                                    "own\tFOLDER" or "refused\tFOLDER"
//   ownfolder_probe.exe --short PATH              -> "short\tSHORT PATH"
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "discovery/discovery.h"
#include "files/file_access.h"
#include "files/own_folder.h"
#include "platform/win32/win32_platform.h"
#include "registry/registry_access.h"

namespace {

class SilentView : public purgent::StatusView {
public:
    void SetPanelText(int, const std::string&) override {}
    void RepaintStatus() override {}
    void SetProgress(int, int) override {}
};

class NoOptions : public purgent::RunOptions {
public:
    bool Checked(purgent::Option) const override { return false; }
    const std::string& LaunchCommand() const override { return command_; }

private:
    std::string command_;
};

}  // namespace

int main(int argc, char** argv) {
    purgent::Win32Platform machine;
    if (argc == 3 && std::strcmp(argv[1], "--short") == 0) {
        std::printf("short\t%s\n", machine.programs.ShortPathName(argv[2]).c_str());
        return 0;
    }
    int first = 1;
    if (argc > 1 && std::strcmp(argv[1], "--no-windir") == 0) {
        SetEnvironmentVariableA("windir", nullptr);
        ++first;
    }
    SilentView view;
    purgent::StatusReporter status(view, machine.cursor);
    purgent::RegistryAccess registry(machine.registry, status, machine.environment);
    purgent::FileAccess files(machine.platform, status);
    NoOptions options;
    purgent::ProcessState process;
    purgent::RunContext ctx{machine.platform, status, registry, files, options, process, {}, {}, {}};
    purgent::DiscoverLocations(ctx);
    std::printf("desktop\t%s\n", ctx.locations.UserDesktop.c_str());
    for (int i = first; i < argc; ++i)
        std::printf("%s\t%s\n", purgent::IsOwnFolder(ctx, argv[i]) ? "own" : "refused", argv[i]);
    return 0;
}
