#pragma once
// Run logs for purgent-fleet's tests, written by the whole program on the
// simulated workstation as purgent.exe writes them, with the events its
// recorder traced beside them.
#include <array>
#include <string>

#include "fleet/run_record.h"
#include "image/machine_image.h"
#include "purgent_sim/run_purgent.h"

namespace purgent::fleet::test {

constexpr const char* kLogPath = "C:\\purgent.log";

struct LoggedRun {
    std::string log;
    int status;
    // The traced events of each kind purgent-fleet counts, in its column order;
    // every `launch` counted as a DLL registration (the runs start no other program).
    std::array<std::size_t, kKinds> traced;
};

// cutAfter > 0: the process is killed right after that many changes.
inline LoggedRun RunWithLog(const image::MachineImage& image, const std::string& commandLine,
                            std::size_t cutAfter = 0) {
    sim::SimMachine machine{image};
    if (cutAfter) machine.CutAfter(cutAfter);
    const int status = sim::RunPurgentOnSimCommandLine(machine, commandLine + " /log=" + kLogPath);
    const image::DriveItem* log = machine.Drive().Find(kLogPath);
    const auto events = [&](const char* name) { return machine.Trace().Events(name).size(); };
    return {log ? std::string(log->contents.begin(), log->contents.end()) : "", status,
            {events("reg-delete-key"), events("reg-delete-value") + events("reg-set-value"), events("file-delete"),
             events("dir-remove"), events("launch"), events("hive-load")}};
}

inline image::MachineImage DemoImage() { return image::LoadMachineImage(PURGENT_DEMO_IMAGE); }

// The demo with two GroupWise windows that do not close: the run halts.
inline image::MachineImage HaltingDemo() {
    image::MachineImage image = DemoImage();
    for (const char* title : {"Novell GroupWise - Mailbox", "Novell GroupWise - Calendar"})
        image.machine.windows.push_back({title, "OFMAIN", false, "", {}});
    return image;
}

// A workstation with nothing of the client: a run there completes without a
// failed note.
inline image::MachineImage BareImage() { return {}; }

// The log of a run killed before its end: its exit line gone.
inline std::string WithoutExitLine(std::string log) {
    const std::size_t exit = log.rfind("exit\t");
    return exit == std::string::npos ? log : log.erase(exit);
}

}  // namespace purgent::fleet::test
