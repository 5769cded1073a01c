#pragma once
#include <optional>
#include <string>

#include "image/machine_image.h"
#include "platform/environment_service.h"
#include "platform/sim/sim_trace.h"

namespace purgent::sim {

// The process environment of the simulated workstation: windir from the
// image, PATH, COMSPEC and SystemDrive as a bare Windows sets them, the
// Windows folder at windir (C:\WINDOWS without it), the command line the
// runner gives. What discovery found is traced.
class SimEnvironment : public EnvironmentService {
public:
    SimEnvironment(const image::MachineSettings& settings, SimTrace& trace);

    void SetCommandLine(std::string commandLine) { commandLine_ = std::move(commandLine); }

    // Names match in any case, as Windows environment names do.
    std::optional<std::string> Variable(const std::string& name) override;
    std::string CommandLine() override { return commandLine_; }
    bool PlatformId(std::uint32_t& id) override;
    std::string WindowsDirectory() override;
    void LocationFound(const std::string& field, const std::string& value) override;
    void ProfileFound(std::size_t position, const std::string& folder) override;

private:
    std::optional<std::string> windir_;
    image::PlatformFamily platform_;
    SimTrace& trace_;
    std::string commandLine_ = "purgent.exe";
};

}  // namespace purgent::sim
