#pragma once
#include <optional>
#include <string>

#include "image/machine_image.h"
#include "platform/environment_service.h"

namespace purgent::sim {

// The process environment of the simulated workstation: windir from the
// image, PATH and COMSPEC as a bare Windows sets them, the command line the
// runner gives.
class SimEnvironment : public EnvironmentService {
public:
    explicit SimEnvironment(const image::MachineSettings& settings);

    void SetCommandLine(std::string commandLine) { commandLine_ = std::move(commandLine); }

    // Names match in any case, as Windows environment names do.
    std::optional<std::string> Variable(const std::string& name) override;
    std::string CommandLine() override { return commandLine_; }
    bool PlatformId(std::uint32_t& id) override;

private:
    std::optional<std::string> windir_;
    image::PlatformFamily platform_;
    std::string commandLine_ = "purgent.exe";
};

}  // namespace purgent::sim
