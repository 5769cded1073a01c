// The machine-wide registry cleaning of the real purgent.exe on a Wine machine
// seeded with tests/data/machinewide: the client's classes, installer records,
// uninstall entries and handlers go, other programs' registrations stay byte
// for byte, and purgent-sim cleans the same image to the same result.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../unit/machinewide_image_expectations.h"
#include "image_runs.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

const std::string kImage = std::string(PURGENT_TEST_DATA) + "/machinewide";

TEST(MachinewideRegistryE2e, ClientRegistrationsGoOthersStayAndTheSimAgrees) {
    const std::string work = ArtifactDir() + "/machinewide-registry";
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    const image::RegistryKeys seeded = image::LoadMachineImage(kImage).registry;
    const image::RegistryKeys real = CleanOnWine(kImage, machinewide::kPurgentArgs, work + "/wine").registry;
    const image::RegistryKeys simulated =
        CleanOnSim(kImage, machinewide::kPurgentArgs, work + "/sim").registry;
    ExpectSameEvents(work + "/wine", work + "/sim");
    machinewide::ExpectCleaned(seeded, real, "wine");
    machinewide::ExpectCleaned(seeded, simulated, "sim");
    ExpectSameOnNamedData(seeded, real, simulated, "machine");
}

}  // namespace
}  // namespace purgent::e2e
