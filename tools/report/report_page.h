#pragma once
// One self-contained HTML page of a preview: what the run ended with, how
// many items of each kind went, what goes by kind and place, what stays of
// the client's and why, the bystanders, and what the run read. Its sections
// open and close without scripts; its style is inline.
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "demo_report.h"
#include "first_spellings.h"

namespace purgent::report {

// A change the run asked for and Windows refused, so its item stays.
struct RefusedChange {
    std::string change;  // "delete file C:\\..."
    std::string error;   // "5: access denied"
};

// A key or folder a catalogue named that the run left alone on purpose.
struct KeptItem {
    std::string item;    // "HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise"
    std::string reason;  // "... is a link to ..."
};

// Texts are the program's own (ANSI); the page writes them as UTF-8.
struct ReportPage {
    std::string title;        // what ran on what
    std::string machine;      // the computer name, else the image folder's name
    std::string made;         // the local date and time the page was written
    std::string version;      // Purgent's
    std::string commandLine;  // the preview's own, every option in it
    std::string outcome;  // "completed", "halted: <why>", ...
    int exitStatus = 0;
    demo::Report changes;          // the machine before against after
    bool bystandersListed = false;  // else the bystander counts mean nothing
    std::vector<std::string> processesEnded;
    std::vector<RefusedChange> refused;
    std::vector<KeptItem> kept;
    std::vector<std::pair<std::string, std::string>> locations;  // field, value ("" not found)
    std::vector<std::string> profiles;                           // in the order they are visited
};

// The items of one kind, by place: a hive for keys and values, a hive file
// for its keys, the folder for files, folders and COM servers (names alike
// in any case are one place), each with the items' names within it, every
// key and folder in the spelling spellings first saw.
struct Place {
    std::string name;
    std::vector<std::string> items;
};
struct KindGroup {
    std::string label;  // "registry keys"
    std::size_t count = 0;
    std::vector<Place> places;
};
std::vector<KindGroup> GroupedByKindAndPlace(const demo::Report& changes, FirstSpellings& spellings);

void WriteReportPage(const ReportPage& page, std::ostream& out);

}  // namespace purgent::report
