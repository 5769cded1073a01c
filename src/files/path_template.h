#pragma once
#include <map>
#include <string>
#include <vector>

#include "run/install_locations.h"

namespace purgent {

// A path of the file catalogues as it is composed: location fields in angle
// brackets (which no Windows path can hold) between literal text, e.g.
// "<UserDesktop>\\GroupWise.lnk". Loops add their own fields: <N> a shortcut
// name, <P> a profile folder name, <F> a fixed shortcut's file name.
using PathTemplate = std::string;
using PathTemplates = std::vector<PathTemplate>;

// The values of the fields; nothing is normalised, so an empty location
// leaves its literal to start the path.
class PathFields {
public:
    explicit PathFields(const InstallLocations& locations);

    void Set(const std::string& field, const std::string& value) { values_[field] = value; }
    // Every field of the template replaced; an unknown field is a programming
    // error (std::logic_error).
    std::string Expand(const PathTemplate& path) const;

private:
    std::map<std::string, std::string> values_;
};

}  // namespace purgent
