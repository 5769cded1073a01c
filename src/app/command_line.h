#pragma once
#include <string>
#include <vector>

#include "app/main_form.h"
#include "run/process_state.h"

namespace purgent {

// The arguments after the program name: blanks and tabs separate, double
// quotes group without being kept, backslash + quote is a literal quote,
// other backslashes stay, no wildcard expansion.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// The inverse for the arguments part: a text that SplitCommandLine, after a
// program name and a blank, turns back into exactly these arguments.
std::string QuoteArguments(const std::vector<std::string>& arguments);

// Applies the switches of the first eight arguments to the form (as clicks,
// change handlers included) and the mode, the run log's path ("/log="), the
// preview ("/whatif") and its capture folder ("/capture=", which implies it)
// to the state, then "/nw" and "/rws". "/msiexit" anywhere among the eight
// sets the Windows Installer's statuses first, so that they hold for an
// invalid command line too.
// False for an invalid command line: repeated or conflicting switches,
// "/capture=" without a folder, or an unknown argument not preceded by "/sn". The form is then half-applied and
// the caller ends the program. The arguments passed over (unknown after
// "/sn", any after the eighth) go to state.ignoredArguments.
bool ApplySwitches(const std::vector<std::string>& arguments, MainForm& form, ProcessState& state);

}  // namespace purgent
