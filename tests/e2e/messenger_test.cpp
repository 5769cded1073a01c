// The Messenger removal of the real purgent.exe on a Wine machine seeded with
// tests/data/messenger: Messenger's keys go from the machine and from the
// profile hives, its shortcuts, profile data, program and installer folders
// go, what the removal keeps (another default IM client, a data folder with
// an extra subfolder, a read-only file) stays, and purgent-sim agrees.
#include <gtest/gtest.h>

#include <filesystem>

#include "../unit/messenger_image_expectations.h"
#include "image_runs.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

TEST(MessengerE2e, MessengerGoesWhatItKeepsStaysAndTheSimAgrees) {
    const std::string work = ArtifactDir() + "/messenger";
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    const image::MachineImage seeded = image::LoadMachineImage(messenger::kImage);
    const image::MachineImage real = CleanOnWine(messenger::kImage, messenger::kPurgentArgs, work + "/wine");
    const image::MachineImage simulated = CleanOnSim(messenger::kImage, messenger::kPurgentArgs, work + "/sim");
    ExpectSameEvents(work + "/wine", work + "/sim");
    messenger::ExpectCleaned(seeded, real, "wine");
    messenger::ExpectCleaned(seeded, simulated, "sim");
    ExpectSameOnNamedData(seeded.registry, real.registry, simulated.registry, "machine");
}

}  // namespace
}  // namespace purgent::e2e
