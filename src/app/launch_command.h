#pragma once
#include <array>
#include <cstddef>
#include <string>

namespace purgent {

constexpr std::size_t LaunchArgSlots = 10;

// The launch command split into the program and ten argument slots.
struct ParsedLaunch {
    std::string LaunchProgram;
    std::array<std::string, LaunchArgSlots> LaunchArgs;
};

// Splits at blanks only (tabs are text). A quoted program loses its quotes;
// quoted arguments keep theirs. Words after the tenth slot are dropped.
ParsedLaunch ParseLaunchCommand(const std::string& command);

// The program followed by every slot, each after one blank, empty ones too.
// A program holding a blank goes in double quotes: unquoted, the started
// program would take the rest of its own path for its first argument.
std::string LaunchCommandLine(const ParsedLaunch& launch);

}  // namespace purgent
