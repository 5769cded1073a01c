#pragma once
// Properties of Wine that Windows does not share, as rules of the
// differential check: each covers the files and keys whose differences it
// explains, drawn from the image and the two runs' logs, never from a list
// of seeds.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "image/machine_image.h"

namespace purgent::differential {

struct WineRule {
    std::string reason;
    std::set<std::string> paths;      // folded full paths of files and keys, each alone
    std::vector<std::string> trees;   // full paths, each with everything below it
    std::string value;                // only this value of the keys ("" = all of them)
    // What a listing of a folder reaches: "<folder>\<any entry><rest>" and below.
    std::vector<std::pair<std::string, std::string>> listed = {};
    // The kinds of line the rule explains, as they begin ("" = every kind):
    // a property that only ever makes Wine do more explains only that.
    std::vector<std::string> explains = {};

    // subject: a file or key path; valueName: the value a key's line is about
    // (a value named by a path is covered where a tree covers the path).
    bool Covers(const std::string& subject, const std::string& valueName) const;
    bool Explains(const std::string& line) const;
};

struct RunLogs {
    std::string wine, sim;
};

// Wine opens a key that Windows lets everyone only read with full access.
extern const char* const kFullAccess;

// Whether Windows refuses a change event of the real program (reg-delete-key,
// reg-delete-value, reg-set-value on a key) that Wine makes: the key is a
// protected key of the image, or holds one.
bool RefusedOnWindows(const image::MachineImage& generated, const std::string& event, const std::string& key);

// The rules for a generated image, the Wine machine it was seeded into, read
// back before the run, and the two runs' logs.
std::vector<WineRule> WineRules(const image::MachineImage& generated, const image::MachineImage& wineBefore,
                                const RunLogs& logs = {});

}  // namespace purgent::differential
