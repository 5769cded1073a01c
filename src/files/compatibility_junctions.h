#pragma once
#include <string>

#include "platform/text_service.h"

namespace purgent {

// Whether a link is one of the junctions Windows Vista and later make in
// place of the folders of earlier versions ("Documents and Settings" ->
// "Users", a profile's "Local Settings" -> "AppData\Local"...): the link
// named name in the folder parent leads to target, both final paths without
// a trailing separator. Such a link stands for a folder of the same user or
// of the same machine, so paths written for earlier versions may pass
// through it; any other link may lead anywhere.
bool IsCompatibilityJunction(TextService& text, const std::string& parent, const std::string& name,
                             const std::string& target);

}  // namespace purgent
