#pragma once
#include <string>
#include <vector>

#include "app/exit_status.h"

namespace purgent {

// One line of what "/?" shows: a switch as it is written on the command
// line ("<command>" and "<file>" stand for the text that follows) and its
// effect.
struct SwitchHelp {
    const char* switchText;
    const char* effect;
};

const std::vector<SwitchHelp>& SwitchesHelp();

// What "/?" shows, on the console or in a box: every switch with its effect,
// the rules they follow and the exit statuses, with "/msiexit" and without.
// Lines joined with "\n"; no tab, so that the box's text stays one field of a
// trace or run-log line.
std::string SwitchesHelpText();

// One exit status as the text above lists it: "0, 3010  - <meaning>".
std::string ExitStatusHelpLine(const ExitStatusRow& row);

// "/?" is an extension of the command line, so it is taken only when it is
// the whole command line: beside other arguments it stays what it always
// was, an unknown argument (an invalid command line, or ignored after
// "/sn"), and no script that works today changes its behaviour.
bool AsksForSwitchesHelp(const std::vector<std::string>& arguments);

}  // namespace purgent
