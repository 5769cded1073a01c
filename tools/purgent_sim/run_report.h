#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "image/machine_image.h"
#include "report_page.h"

namespace purgent::sim {

// What an image folder says beside the machine: its bystanders.txt (other
// programs' items, all to be kept) and kept-client-items.txt (the client's
// items a run keeps, each with its reason). Either file may be missing.
struct ImageLists {
    bool bystandersListed = false;
    std::vector<demo::Item> bystanders;
    std::map<demo::Item, std::string> keptReasons;
};
// Throws image::ImageError for a list that cannot be read.
ImageLists ReadImageLists(const std::string& imageDir);

// The name a page gives the machine: the image's computer name (the
// ComputerName value under ComputerNameKey, a string), else the image
// folder's name, else the bare workstation's description.
constexpr const char* ComputerNameKey =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
std::string MachineNameOf(const image::MachineImage& machine, const std::optional<std::string>& imageDir);

// What a run ended with, from its trace: "completed", "halted: <why>",
// "ended on an error: <text>" or "invalid command line", and the exit status.
struct RunOutcome {
    std::string outcome;
    int exitStatus = 0;
};
RunOutcome OutcomeOf(const std::vector<std::string>& trace);

// A "# failed" note as a reader asks: which change, and the Windows error.
report::RefusedChange RefusedChangeOf(const std::string& failureNote);

// A "# kept" note: the item and why the run left it alone.
report::KeptItem KeptItemOf(const std::string& keptNote);

// The report page of a run: its trace, its "# failed" and "# kept" notes,
// and the machine before and after it.
report::ReportPage ReportPageOf(const std::string& title, const std::vector<std::string>& trace,
                                const std::vector<std::string>& failureNotes, const std::vector<std::string>& keptNotes,
                                const image::MachineImage& before, const image::MachineImage& after,
                                const ImageLists& lists);

}  // namespace purgent::sim
