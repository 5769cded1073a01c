#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace purgent {

// GetVersionExA platform ids.
constexpr std::uint32_t PlatformWin9x = 1;
constexpr std::uint32_t PlatformWinNT = 2;

class EnvironmentService {
public:
    virtual ~EnvironmentService() = default;
    // nullopt for a variable that is not set.
    virtual std::optional<std::string> Variable(const std::string& name) = 0;
    // The process command line, program name included, as GetCommandLineA gives it.
    virtual std::string CommandLine() = 0;
    // GetVersionExA with a 148-byte record; false when the version cannot be read.
    virtual bool PlatformId(std::uint32_t& id) = 0;
    // GetWindowsDirectoryA; "" when it cannot be read.
    virtual std::string WindowsDirectory() = 0;
    // Told each location (field name, value) and each profile-set entry
    // (1-based position, folder name) the run found; the simulator traces
    // them, Windows has nothing to do with them.
    virtual void LocationFound(const std::string& /*field*/, const std::string& /*value*/) {}
    virtual void ProfileFound(std::size_t /*position*/, const std::string& /*folder*/) {}
};

}  // namespace purgent
