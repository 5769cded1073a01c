#pragma once
#include <string>

namespace purgent {

// The last part of a listing's mask, after its last "\" or "/":
// "gw*.dll" of "C:\WINDOWS\system32\gw*.dll".
std::string MaskPattern(const std::string& mask);

// Whether "*" or "?" makes pattern name more than one entry.
bool HasWildcards(const std::string& pattern);

// Whether a name fits pattern as Windows matches names against a listing's
// mask: "*" any run of characters, "?" one character other than a dot (or
// none before a dot or at the end), in any case; "*" and "*.*" fit every
// name; a dot before "*" or "?" may also stand for the end of a name
// ("gw.*" fits "gw"); trailing dots and blanks of the pattern do not count,
// as the path rules drop them, except that "*" followed by them fits only
// names without a dot ("*." fits "README", not "readme.txt").
bool FitsMask(const std::string& name, const std::string& pattern);

}  // namespace purgent
