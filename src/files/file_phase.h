#pragma once
#include "run/run_context.h"
#include "registry/registry_access.h"
#include "files/file_access.h"
#include "files/path_template.h"

namespace purgent {

// The client file phase, in run order: shortcuts and program groups; system,
// installer-cache and program files (with the fast-find and Writing Tools
// files in their place); the Excel add-in and the ODMA settings file.
void RemoveShortcuts(RunContext& ctx);
void RemoveProgramAndSystemFiles(RunContext& ctx);
void RemoveOfficeIntegration(RunContext& ctx);

// Steps of the program and system files stage that belong to the Office
// and Writing Tools files.
void RemoveFastFindFiles(RunContext& ctx, const PathFields& fields);
void RemoveWritingToolsFiles(RunContext& ctx, const PathFields& fields);

}  // namespace purgent
