// The masks of the real purgent.exe on a Wine machine, whose short names
// (four characters and a hash) fit "gw*.dll" and "wt61*.uwl": a file only its
// short name fits stays with its registration, the client's own beside it
// go, and the preview's events are the real run's.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../unit/long_name_image_expectations.h"
#include "image_runs.h"

namespace purgent::e2e {
namespace {

using longnames::kImage;
using longnames::kPurgentArgs;

TEST(LongNameMasksE2e, AFileOnlyItsShortNameFitsStaysAndThePreviewAgrees) {
    const std::string work = ArtifactDir() + "/long-name-masks";
    std::filesystem::remove_all(work);
    const image::MachineImage seeded = image::LoadMachineImage(kImage);
    const image::MachineImage real = CleanOnWine(kImage, kPurgentArgs, work + "/wine");
    const image::MachineImage simulated = CleanOnSim(kImage, kPurgentArgs, work + "/sim");
    ExpectSameEvents(kImage, work + "/wine", work + "/sim");
    for (const auto& [who, machine] : {std::pair{"wine", &real}, std::pair{"sim", &simulated}}) {
        dlls::ExpectRegistrations(machine->registry, who, longnames::kRegistrations);
        longnames::ExpectFilesLeft(seeded, *machine, who);
    }
}

}  // namespace
}  // namespace purgent::e2e
