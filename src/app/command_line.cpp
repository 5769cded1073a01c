#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace purgent {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::size_t SkipBlanks(const std::string& text, std::size_t pos) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    return pos;
}

std::size_t SkipProgramName(const std::string& line) {
    std::size_t pos = SkipBlanks(line, 0);
    if (pos < line.size() && line[pos] == '"') {
        std::size_t close = line.find('"', pos + 1);
        return close == std::string::npos ? line.size() : close + 1;
    }
    while (pos < line.size() && !IsBlank(line[pos])) ++pos;
    return pos;
}

constexpr std::size_t SwitchPositions = 8;

bool IsModeSwitch(const std::string& text) { return text == "/s" || text == "/sn" || text == "/sp"; }

bool Conflicts(const std::string& a, const std::string& b) {
    if (!a.empty() && a == b) return true;
    return IsModeSwitch(a) && IsModeSwitch(b) && a != b;
}

// Acts on one argument; false when it is not a switch.
bool ApplySwitch(const std::string& text, MainForm& form, ProcessState& state) {
    if (text.empty()) return true;
    if (text == "/s") {
        state.silentMode = SilentMode::Silent;
    } else if (text == "/sn") {
        state.silentMode = SilentMode::SilentNoMessage;
    } else if (text == "/nw") {
        state.networkInstall = true;
    } else if (text == "/sp") {
        state.silentMode = SilentMode::ProgressOnly;
    } else if (text == "/kc") {
        form.SetChecked(Option::Client, false);
    } else if (text == "/rws") {
        state.webServices = true;
    } else if (text == "/kwt") {
        form.SetChecked(Option::WritingTools, false);
    } else if (text == "/km") {
        form.SetChecked(Option::Messenger, false);
    } else if (text == "/kf") {
        form.SetChecked(Option::DeleteFiles, false);
    } else if (text == "/kr") {
        form.SetChecked(Option::DeleteRegistry, false);
    } else if (text.compare(0, 4, "/la-") == 0) {
        form.SetChecked(Option::LaunchApp, true);
        form.SetLaunchCommand(text.substr(4));
    } else if (text.compare(0, 5, "/log=") == 0) {
        state.logFile = text.substr(5);
    } else if (text == "/whatif") {
        state.preview = true;
    } else if (text.compare(0, 9, "/capture=") == 0) {
        // A capture is always of a preview: it never changes the machine.
        state.preview = true;
        state.captureFolder = text.substr(9);
    } else {
        return text == "/msiexit";  // taken before the first check
    }
    return true;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> arguments;
    std::size_t pos = SkipBlanks(commandLine, SkipProgramName(commandLine));
    while (pos < commandLine.size()) {
        std::string argument;
        bool quoted = false;
        for (; pos < commandLine.size(); ++pos) {
            char c = commandLine[pos];
            if (c == '\\' && pos + 1 < commandLine.size() && commandLine[pos + 1] == '"') {
                argument += '"';
                ++pos;
            } else if (c == '"') {
                quoted = !quoted;
            } else if (IsBlank(c) && !quoted) {
                break;
            } else {
                argument += c;
            }
        }
        arguments.push_back(argument);
        pos = SkipBlanks(commandLine, pos);
    }
    return arguments;
}

std::string QuoteArguments(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) line += ' ';
        // Blanks must sit in a quoted stretch. It opens at the start and closes
        // right after the last blank, where no backslash can precede the
        // closing quote and turn it into a literal one.
        std::size_t lastBlank = argument.find_last_of(" \t");
        bool quote = argument.empty() || lastBlank != std::string::npos;
        if (quote) line += '"';
        for (std::size_t i = 0; i < argument.size(); ++i) {
            line += argument[i] == '"' ? std::string("\\\"") : std::string(1, argument[i]);
            if (quote && i == lastBlank) line += '"';
        }
        if (argument.empty()) line += '"';
    }
    return line;
}

bool ApplySwitches(const std::vector<std::string>& arguments, MainForm& form, ProcessState& state) {
    std::array<std::string, SwitchPositions> positions;
    for (std::size_t i = 0; i < positions.size() && i < arguments.size(); ++i) positions[i] = arguments[i];
    // Before any check: an invalid command line is told in the statuses asked for.
    state.installerStatuses = std::find(positions.begin(), positions.end(), "/msiexit") != positions.end();

    for (std::size_t i = 0; i < positions.size(); ++i) {
        for (std::size_t j = 0; j < positions.size(); ++j) {
            if (j != i && Conflicts(positions[i], positions[j])) return false;
        }
        // A capture needs a folder, also after "/sn": it is no unknown argument.
        if (positions[i] == "/capture=") return false;
        // After "/sn" an unknown argument is ignored rather than rejected.
        bool silenced = state.silentMode == SilentMode::SilentNoMessage;
        if (!ApplySwitch(positions[i], form, state)) {
            if (!silenced) return false;
            state.ignoredArguments.push_back(positions[i]);
        }
    }
    for (std::size_t i = positions.size(); i < arguments.size(); ++i) state.ignoredArguments.push_back(arguments[i]);
    if (state.networkInstall) form.SetChecked(Option::Networked, true);
    if (state.webServices) form.SetChecked(Option::WebServices, true);
    return true;
}

}  // namespace purgent
