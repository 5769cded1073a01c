#pragma once
#include "run/run_context.h"

namespace purgent {

// Finds InstallLocations and the ProfileSet for this run and tells the
// platform what it found; deletes nothing and shows nothing. Leaves the
// accessor with no key open.
void DiscoverLocations(RunContext& ctx);

// After the first Messenger block: the logged-on user's folder joins the set,
// so the later per-user loops visit it by name.
void AppendLogonUser(RunContext& ctx);

}  // namespace purgent
