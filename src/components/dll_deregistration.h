#pragma once
// Unregistering COM servers with the platform's registration tool, one
// process per DLL, each waited for.
#include <string>

#include "run/run_context.h"
#include "registry/registry_access.h"
#include "files/file_access.h"
#include "components/component_tables.h"

namespace purgent {

// The registration tool's command line: the tool, "/u", "/s" and the DLL,
// joined by single blanks. A DLL path holding a blank is quoted: split at the
// blank it would name other files, and the DLL would stay registered while
// its file is deleted.
std::string RegSvrCommandLine(const std::string& tool, const std::string& dll);

// Whether a listed name is one of the DLLs never unregistered: compared in
// upper case, ASCII letters only.
bool IsExcludedDll(const std::string& name, const Names& exclusions);

// Runs the registration tool on one DLL, waits for it, then asks the
// "Novell App" windows to close. The detail panel shows the path at the
// next status repaint. Paths of any length are passed whole.
void DeregisterDll(RunContext& ctx, const std::string& path);

// Which view the phase keeps up to date: the client phase also repaints the
// window's launch-application field.
enum class LaunchField { Left, Updated };

// Unregisters the DLLs of each pass in turn; each listed file steps the
// progress bar, excluded ones too. The row has already shown the phase text.
void DeregisterDlls(RunContext& ctx, const DllPasses& passes, LaunchField launchField);

}  // namespace purgent
