#pragma once
// The steps of the deregistration and Messenger rows of the run, in run order.
#include "run/run_context.h"
#include "registry/registry_access.h"
#include "files/file_access.h"

namespace purgent {

// Messenger and DeleteRegistry: the COM servers of the Messenger program
// folder (when it is a folder of its own).
void DeregisterMessengerDlls(RunContext& ctx);

// Messenger and DeleteRegistry, first block: the Messenger classes, its IM
// client entry, its Internet Explorer extension, and in every user's hive
// its start-up entry and extension mapping. The default IM client is
// emptied only when it is Novell Messenger.
void DeleteMessengerRegistration(RunContext& ctx);

// Messenger and DeleteFiles: shortcuts and program groups, every profile
// folder's Messenger data, the program folder and the installer's
// information folder. An error inside the walk over the profile folders ends
// that walk quietly; the rest goes on.
void DeleteMessengerFiles(RunContext& ctx);

// Messenger and DeleteRegistry, second block: sound events, menu order and
// settings in every user's hive (the logged-on user's now included), then
// the machine-wide class, application and uninstall keys.
void DeleteMessengerSettings(RunContext& ctx);

// Client and DeleteRegistry: every DLL of the GroupWise folder (when it is a
// folder of its own, save the excluded names) and the "gw*.dll" of the
// system folders.
void DeregisterClientDlls(RunContext& ctx);

}  // namespace purgent
