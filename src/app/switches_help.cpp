#include "app/switches_help.h"

#include "app/exit_status.h"

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
        {"/msiexit", "exit with the Windows Installer's statuses, which deployment tools act on (below)"},
    };
    return switches;
}

std::string SwitchesHelpText() {
    std::string text = "purgent.exe [switches]\n\n";
    for (const SwitchHelp& line : SwitchesHelp()) text += std::string(line.switchText) + "  - " + line.effect + "\n";
    text += "\nSwitches are case-sensitive, each may be given once, and at most one of /s, /sn, /sp;"
            " only the first eight arguments are read. In /log= and /capture=, %NAME% is the"
            " environment variable's value.\n\nExit status, then with /msiexit:\n";
    for (const ExitStatusRow& row : ExitStatuses())
        text += ExitStatusHelpLine(row) + "\n";
    text.pop_back();
    return text;
}

std::string ExitStatusHelpLine(const ExitStatusRow& row) {
    return std::to_string(row.status) + ", " + std::to_string(row.installerStatus) + "  - " + row.meaning;
}

bool AsksForSwitchesHelp(const std::vector<std::string>& arguments) {
    return arguments.size() == 1 && arguments.front() == "/?";
}

}  // namespace purgent
