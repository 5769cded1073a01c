#pragma once
#include <stdexcept>
#include <string>

namespace purgent {

// An error that ends the cleaning run and is shown in the error box
// (the registry accessor's "Invalid data type for '%s'" and
// "Failed to set data for '%s'").
class PurgentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace purgent
