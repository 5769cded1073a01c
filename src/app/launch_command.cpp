#include "app/launch_command.h"

namespace purgent {

namespace {

void DropLeadingBlanks(std::string& text) { text.erase(0, text.find_first_not_of(' ')); }

bool StartsWithQuote(const std::string& text) { return !text.empty() && text.front() == '"'; }

// Takes the next argument off the front of rest; false when it was the last.
bool TakeArgument(std::string& rest, std::string& argument) {
    DropLeadingBlanks(rest);
    if (StartsWithQuote(rest)) {
        std::size_t close = rest.find('"', 1);
        if (close == std::string::npos) {
            // An unmatched quote is an argument by itself; the text after it
            // is left for the next slot.
            argument = "\"";
            rest.erase(0, 1);
        } else {
            argument = rest.substr(0, close + 1);
            rest.erase(0, close + 1);
        }
        return true;
    }
    std::size_t blank = rest.find(' ');
    if (blank == std::string::npos) {
        argument = rest;
        rest.clear();
        return false;
    }
    argument = rest.substr(0, blank);
    rest.erase(0, blank + 1);
    return true;
}

}  // namespace

ParsedLaunch ParseLaunchCommand(const std::string& command) {
    ParsedLaunch launch;
    std::string rest = command;
    DropLeadingBlanks(rest);
    if (StartsWithQuote(rest)) {
        rest.erase(0, 1);
        std::size_t close = rest.find('"');
        if (close != std::string::npos) {
            launch.LaunchProgram = rest.substr(0, close);
            rest.erase(0, close + 1);
        }
    } else {
        std::size_t blank = rest.find(' ');
        launch.LaunchProgram = rest.substr(0, blank);
        rest = blank == std::string::npos ? std::string() : rest.substr(blank);
    }

    if (rest.find(' ') != std::string::npos) {
        for (std::string& slot : launch.LaunchArgs) {
            if (rest.empty() || !TakeArgument(rest, slot)) break;
        }
    }

    std::string& program = launch.LaunchProgram;
    if (StartsWithQuote(program)) program.erase(0, 1);
    if (!program.empty() && program.back() == '"') program.pop_back();
    return launch;
}

std::string LaunchCommandLine(const ParsedLaunch& launch) {
    const std::string& program = launch.LaunchProgram;
    std::string line = program.find(' ') == std::string::npos ? program : '"' + program + '"';
    for (const std::string& argument : launch.LaunchArgs) line += ' ' + argument;
    return line;
}

}  // namespace purgent
