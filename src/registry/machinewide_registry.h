#pragma once
// The machine-wide catalogues of the registry phase, run in this order after
// the per-user catalogue, under Client and DeleteRegistry.
#include "run/run_context.h"
#include "registry/registry_access.h"

namespace purgent {

// HKEY_LOCAL_MACHINE: file types, COM classes, controls, interfaces, type
// libraries and the Add/Remove Programs cache. Leaves the root at
// HKEY_LOCAL_MACHINE with no key open.
void CleanClassRegistrations(RunContext& ctx);

// HKEY_LOCAL_MACHINE: App Paths, installer records of every account,
// uninstall and help entries, Novell keys, mail and news clients, the Outlook
// free/busy hook. A contact-file default that is not a string ends the run.
void CleanApplicationEntries(RunContext& ctx);

// HKEY_LOCAL_MACHINE: help files, the Web Services components (WebServices
// only), shared-DLL counts, default mail and news handlers, MAPI applications.
// A handler default that is not a string ends the run.
void CleanWebServicesEntries(RunContext& ctx);

// HKEY_CLASSES_ROOT: handlers, class and installer records, the MSXML
// assemblies. A registry error ends this catalogue quietly; the run goes on.
void CleanClassesRoot(RunContext& ctx);

}  // namespace purgent
