#pragma once
// The comparison of the differential check: the machine the real program
// left under Wine against the one purgent-sim left, over everything the
// generated image names.
#include <string>
#include <vector>

#include "image/machine_image.h"
#include "wine_rules.h"

namespace purgent::differential {

struct Machines {
    image::MachineImage generated;   // the image both ran on
    image::MachineImage wineBefore;  // the seeded Wine machine read back before the run
    image::MachineImage wineAfter;   // read back after the real run
    image::MachineImage simAfter;    // saved by purgent-sim
};

// The lines of a comparison, each filed under the key or file it is about;
// a line a rule covers is set apart with the rule's reason.
class Findings {
public:
    explicit Findings(std::vector<WineRule> rules) : rules_(std::move(rules)) {}

    // subject: the key or file a line is about; valueName: the value, for a value's line.
    void Add(const std::string& subject, const std::string& text, const std::string& valueName = "");
    // The reason of the first rule that covers a key or file (whatever the
    // kind of line), "" when none does.
    std::string RuleCovering(const std::string& subject) const;
    // A line set apart for a reason of its own.
    void Exclude(const std::string& text, const std::string& reason) { excluded_.push_back(text + " (" + reason + ")"); }
    const std::vector<std::string>& Differences() const { return differences_; }
    const std::vector<std::string>& Excluded() const { return excluded_; }

private:
    std::vector<WineRule> rules_;
    std::vector<std::string> differences_;
    std::vector<std::string> excluded_;
};

// Every key and value at or below a key the image names, every link key,
// every file and folder it names with its attributes (a hive file's keys and
// values as well), every link ([reparse]) it names. What the Wine machine had there before the seeding and the image
// does not name is Wine's own and not compared. The runs' logs, where there
// are any, tell the rules what each run read.
Findings Differences(const Machines& machines, const RunLogs& logs = {});

}  // namespace purgent::differential
