#include "app/switches_help.h"

#include "app/cleaning_run.h"

namespace purgent {

const std::vector<SwitchHelp>& SwitchesHelp() {
    static const std::vector<SwitchHelp> switches{
        {"/s", "silent: no window; \"Purgent - Completed\" at the end"},
        {"/sn", "silent, no closing messages; unknown arguments after it are ignored"},
        {"/sp", "progress only: a small window with the progress bar"},
        {"/nw", "network (workstation) install: keep the distribution folder's files"},
        {"/kc", "keep the GroupWise client"},
        {"/km", "keep Novell Messenger"},
        {"/kwt", "keep the Writing Tools"},
        {"/rws", "remove the Web Services Components"},
        {"/kf", "keep files (remove no files)"},
        {"/kr", "keep the registry (remove no registry entries)"},
        {"/la-<command>", "when done, start <command> and wait for it"},
        {"/log=<file>", "write a run log to <file>"},
        {"/whatif", "preview: change nothing; the run log says what the run would do"},
        {"/capture=<folder>", "preview, and write what it read to <folder> (new or empty) as a machine image"},
    };
    return switches;
}

const std::vector<ExitStatusHelp>& ExitStatusesHelp() {
    static const std::vector<ExitStatusHelp> statuses{
        {ExitCompleted, "the run completed"},
        {ExitHalted, "/s, /sn, /sp: the run halted; GroupWise or Messenger windows stayed open"},
        {ExitFailed, "/s, /sn, /sp: the run stopped on an error; every mode: a failure before the run, "
                     "or the run log could not be created or written"},
        {ExitInvalidCommandLine, "the command line was invalid; nothing was cleaned"},
        {ExitAnotherRun, "another Purgent run was in progress; nothing was cleaned"},
    };
    return statuses;
}

std::string SwitchesHelpText() {
    std::string text = "purgent.exe [switches]\n\n";
    for (const SwitchHelp& line : SwitchesHelp()) text += std::string(line.switchText) + "  - " + line.effect + "\n";
    text += "\nSwitches are case-sensitive, each may be given once, and at most one of /s, /sn, /sp;"
            " only the first eight arguments are read.\n\nExit status:\n";
    for (const ExitStatusHelp& line : ExitStatusesHelp())
        text += std::to_string(line.status) + "  - " + line.meaning + "\n";
    text.pop_back();
    return text;
}

bool AsksForSwitchesHelp(const std::vector<std::string>& arguments) {
    return arguments.size() == 1 && arguments.front() == "/?";
}

}  // namespace purgent
