#pragma once
#include <string>

namespace purgent {

// What a KillProcessByName result code says about the process, in words for
// an administrator ("ended", "not running", ...); an unknown code is named.
std::string KillResultText(int code);

}  // namespace purgent
