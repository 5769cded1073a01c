#include "app/notes_text.h"

#include <iterator>

namespace purgent {

namespace {

const char* const NotesLines[] = {
    "Purgent Notes:",
    "",
    "- Commandline Switches",
    "  ",
    "  /s\t- runs in silent mode - displays a completion message when done.",
    "  /sn\t- runs in silent mode - no message completion display.",
    "  /sp         - runs showing only the progress bar.",
    "",
    "  /nw        - cleans a network (workstation) install. This prevents the removal",
    "                  of any files in the distribution directory. ",
    "",
    "  /kc\t- keep client - does not remove the GroupWise Client",
    "  /km\t- keep Messenger - does not remove GroupWise Messenger.",
    "  /kwt\t- does not remove Writing Tools.",
    "  /rws\t- removes WebServices Components.",
    "  /kf\t- does not remove the files.",
    "  /kr\t- does not remove registry entries.",
    "",
    "  /la-\"application\"",
    "                - launch an application when Purgent is done",
    "                - Enclose the application path and each argument in quotes",
    "                - Use \\\" to include quotes in the application path or in arguments",
    "",
    "  /log=\"file\"",
    "                - write a log of the run to the file (created, or appended to)",
    "",
    "  /whatif     - a preview: the whole run with nothing changed; the log says what",
    "                  it would do.",
    "  /capture=\"folder\"",
    "                - a preview that also writes what it read to the (new or empty) folder",
    "  /msiexit    - ends with the Windows Installer's exit codes (0, 3010, 1602, 1603,",
    "                  1618, 1639) instead of Purgent's own.",
    "",
    "- Remote And Caching Directories are not removed.",
    "",
    "- Third party registry entries for GroupWise may be removed.",
    "  Third party GroupWise software may need to be reinstalled. ",
    "",
    "- Web Services Components are Microsoft DOM, SAX and XML components.",
    "  Do not select the checkbox to remove this unless you are reinstalling the",
    "  GroupWise client.",
    "",
    "- FRMCACHE.DAT is not removed. If you are experiencing difficulty in sending",
    "  mail from MS Office applications check the KnowledgeBase for information on",
    "  frmcache.dat or Windows Messaging",
    "",
    "For Corel Office Users:",
    "",
    "- Writing Tools registry entries and files will be removed unless the",
    "  Remove Writing Tools checkbox is deselected.",
    "",
    "  GroupWise specific Writing Tools registry entries and files will be removed",
    "  regardles of the checkbox setting.",
};

std::string JoinNotes() {
    std::string text = NotesLines[0];
    for (std::size_t i = 1; i < std::size(NotesLines); ++i) text += std::string("\r\n") + NotesLines[i];
    return text;
}

}  // namespace

const std::string& NotesText() {
    static const std::string text = JoinNotes();
    return text;
}

}  // namespace purgent
