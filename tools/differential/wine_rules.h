#pragma once
// Properties of Wine that Windows does not share, as rules of the
// differential check: each covers the files and keys whose differences it
// explains, drawn from the image alone, never from a list of seeds.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "image/machine_image.h"

namespace purgent::differential {

struct WineRule {
    std::string reason;
    std::set<std::string> files;      // folded full paths
    std::vector<std::string> keys;    // full key paths, each with its subtree
    std::string value;                // only this value of the keys ("" = all of them)
    // What a listing of a folder reaches: "<folder>\<any entry><rest>" and below.
    std::vector<std::pair<std::string, std::string>> listed = {};

    // subject: a file or key path; value: the value a key's line is about.
    bool Covers(const std::string& subject, const std::string& valueName) const;
};

// The rules for a generated image and the Wine machine it was seeded into,
// read back before the run.
std::vector<WineRule> WineRules(const image::MachineImage& generated, const image::MachineImage& wineBefore);

}  // namespace purgent::differential
