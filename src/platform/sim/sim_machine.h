#pragma once
#include "image/machine_image.h"
#include "platform/platform.h"
#include "platform/record/event_recorder.h"
#include "platform/preview/preview_platform.h"
#include "platform/record/recorded_platform.h"
#include "platform/sim/sim_cursor.h"
#include "platform/sim/sim_drive.h"
#include "platform/sim/sim_environment.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_messages.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_programs.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_text.h"
#include "platform/sim/sim_windows.h"

namespace purgent::sim {

// A simulated Windows workstation built from a machine image: every platform
// service the program uses, handed out recorded (see RecordedPlatform), so
// that what happens to it is written to one trace.
class SimMachine {
public:
    // Reads the image only: a caller may build many machines from one.
    explicit SimMachine(const image::MachineImage& image);
    SimMachine(const SimMachine&) = delete;
    SimMachine& operator=(const SimMachine&) = delete;

    Platform& GetPlatform() { return recorded_.Get(); }
    EventRecorder& Trace() { return trace_; }
    const EventRecorder& Trace() const { return trace_; }
    SimEnvironment& Environment() { return environment_; }
    SimRegistry& Registry() { return registry_; }
    SimDrive& Drive() { return drive_; }
    SimProcesses& Processes() { return processes_; }
    // Ends the simulated process right after its n-th change, as if it were
    // killed there (see EventRecorder::CutAfter): its status is ExitKilled.
    void CutAfter(std::size_t changes);

    // The machine as it is now: registry with every change, hive files as
    // written back (mounted hives included; after a cut, a hive still
    // mounted stays so), the drive.
    image::MachineImage SaveImage() const;

private:
    image::MachineIni machine_;
    SimDrive drive_;
    SimRegistry registry_;
    SimFiles files_;
    SimRegsvr regsvr_;
    SimEnvironment environment_;
    SimMessages messages_;
    SimCursor cursor_;
    SimPrograms programs_;
    SimProcesses processes_;
    SimWindows windows_;
    SimText text_;
    Platform platform_;
    // As on Windows, a preview (/whatif) changes nothing of the machine below it.
    PreviewPlatform preview_;
    EventRecorder trace_;  // after the services: it closes the run log when it goes
    RecordedPlatform recorded_;
};

}  // namespace purgent::sim
