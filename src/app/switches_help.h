#pragma once
#include <string>
#include <vector>

namespace purgent {

// One line of what "/?" shows: a switch as it is written on the command
// line ("<command>" and "<file>" stand for the text that follows) and its
// effect.
struct SwitchHelp {
    const char* switchText;
    const char* effect;
};

// One exit status of the process and when it is given.
struct ExitStatusHelp {
    int status;
    const char* meaning;
};

const std::vector<SwitchHelp>& SwitchesHelp();
const std::vector<ExitStatusHelp>& ExitStatusesHelp();

// The box "/?" shows: every switch with its effect, the rules they follow and
// the exit statuses. Lines joined with "\n"; no tab, so that the box's text
// stays one field of a trace or run-log line.
std::string SwitchesHelpText();

// "/?" is an extension of the command line, so it is taken only when it is
// the whole command line: beside other arguments it stays what it always
// was, an unknown argument (an invalid command line, or ignored after
// "/sn"), and no script that works today changes its behaviour.
bool AsksForSwitchesHelp(const std::vector<std::string>& arguments);

}  // namespace purgent
