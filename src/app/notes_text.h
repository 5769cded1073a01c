#pragma once
#include <string>

namespace purgent {

// The notes shown in Memo1: the switches and what the program leaves alone.
// Lines joined with "\r\n".
const std::string& NotesText();

}  // namespace purgent
