#include "components/component_phases.h"
#include "components/dll_deregistration.h"

namespace purgent {

void DeregisterMessengerDlls(RunContext& ctx) {
    DeregisterDlls(ctx, {MessengerCatalogue().dllPass}, LaunchField::Left);
}

void DeregisterClientDlls(RunContext& ctx) {
    DeregisterDlls(ctx, DllCatalogue().clientPasses, LaunchField::Updated);
}

}  // namespace purgent
