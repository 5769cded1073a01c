#pragma once
#include <string>

#include "run/run_context.h"

namespace purgent {

// Whether the folder-wide steps (the "*.*" purges, the "*.dll"
// deregistration pass, the folder's removal) may run in a program folder
// that App Paths names: GroupWiseDir or MessengerDir. App Paths is only a
// claim: an installer, an administrator or a broken set-up may point it at
// a user's documents, Office's folder or a data drive. So the folder must be
// reached through no link but Windows' compatibility junctions, pass the
// own-folder rule where it is written and where it leads, and show the
// program: its own program file or a file only it uses, unless it is the
// folder the program installs to by default or the one an interrupted run
// recorded. A refusal is a "kept" note.
bool MayEmptyProgramFolder(RunContext& ctx, std::string InstallLocations::*programFolder);

// Records the program folders this run found, and which of them it may
// empty (see FolderRecord), for the run after this one if this one is
// interrupted.
void RecordProgramFolders(RunContext& ctx);

}  // namespace purgent
