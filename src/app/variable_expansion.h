#pragma once
#include <string>

#include "platform/environment_service.h"

namespace purgent {

// Each %NAME% of text replaced by the environment variable's value, as a
// shell would have done where no shell started the program (a deployment
// tool's own command line). A name that is not set, an empty one ("%%") and
// a "%" that is never closed stay as written; a value is not expanded again.
std::string ExpandVariables(const std::string& text, EnvironmentService& environment);

}  // namespace purgent
