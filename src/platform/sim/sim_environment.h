#pragma once
#include <optional>
#include <string>

#include "image/machine_image.h"
#include "platform/environment_service.h"
#include "platform/sim/sim_registry.h"

namespace purgent::sim {

// The simulated workstation's answers for the run log's header.
constexpr const char* SimProgramVersion = PURGENT_VERSION;
constexpr const char* SimLocalTime = "2000-01-01 00:00:00";
constexpr const char* SimComputerName = "SIMULATED";
constexpr const char* SimUserName = "Administrator";
constexpr WindowsRelease SimRelease{5, 1, 2600, false};  // Windows XP

// The process environment of the simulated workstation: windir from the
// image, PATH, COMSPEC and SystemDrive as a bare Windows sets them,
// COMPUTERNAME the computer's name, the Windows folder at windir
// (C:\WINDOWS without it), the command line the runner gives; for the run
// log's header, fixed values (SimProgramVersion ...) so that the same run
// always writes the same log. Another run holds the run's name when the
// image says run-in-progress=yes; the record of the program folders is a
// key of the simulated registry, so that a machine saved after a cut keeps
// it.
class SimEnvironment : public EnvironmentService {
public:
    SimEnvironment(const image::MachineSettings& settings, SimRegistry& registry);

    void SetCommandLine(std::string commandLine) { commandLine_ = std::move(commandLine); }

    // Names match in any case, as Windows environment names do.
    std::optional<std::string> Variable(const std::string& name) override;
    std::string CommandLine() override { return commandLine_; }
    bool PlatformId(std::uint32_t& id) override;
    std::string WindowsDirectory() override;
    std::string ProgramVersion() override { return SimProgramVersion; }
    std::string LocalTime() override { return SimLocalTime; }
    std::string ComputerName() override { return SimComputerName; }
    std::string UserName() override { return SimUserName; }
    std::optional<WindowsRelease> Release() override { return SimRelease; }
    bool HoldRunName() override { return !runInProgress_; }
    std::optional<FolderRecord> ReadFolderRecord() override { return ReadFolderRecordKey(registry_); }
    void WriteFolderRecord(const FolderRecord& record) override;
    void RemoveFolderRecord() override { registry_.DeleteTree(FolderRecordKeyPath); }

private:
    SimRegistry& registry_;
    bool runInProgress_;
    std::optional<std::string> windir_;
    image::PlatformFamily platform_;
    std::string commandLine_ = "purgent.exe";
};

}  // namespace purgent::sim
