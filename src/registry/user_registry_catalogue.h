#pragma once
#include "platform/text_service.h"
#include "run/run_context.h"
#include "registry/registry_access.h"

namespace purgent {

// The client's traces in every user's hive (the current user, each other
// profile mounted in turn) and in HKEY_USERS\.DEFAULT. Runs under Client and
// DeleteRegistry; leaves RootKey at HKEY_USERS.
void CleanUserRegistry(RunContext& ctx);

// Deletes "RequestMakeCall" of the open HandoffPriorities key when it hands
// calls to GroupWise; a dialer named there stays.
void DeleteGroupWiseHandoff(RegistryAccess& registry, TextService& text);

}  // namespace purgent
