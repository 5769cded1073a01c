// The machine-wide registry cleaning of the real purgent.exe on a Wine machine
// seeded with tests/data/machinewide: the client's classes, installer records,
// uninstall entries and handlers go, other programs' registrations stay byte
// for byte, and purgent-sim cleans the same image to the same result.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../unit/machinewide_image_expectations.h"
#include "image/machine_image.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kImage = std::string(PURGENT_TEST_DATA) + "/machinewide";
constexpr int kTimeoutSeconds = 300;

std::string WindowsPath(const std::string& hostPath) {
    std::string path = "Z:" + fs::absolute(hostPath).string();
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

image::RegistryKeys CleanOnWine(const std::string& outDir) {
    WinePrefix prefix;
    EXPECT_EQ(prefix.Run({Win64Exe("seed.exe"), WindowsPath(kImage)}, kTimeoutSeconds), 0) << prefix.Output();
    std::vector<std::string> purgent = {Win64Exe("purgent.exe")};
    purgent.insert(purgent.end(), machinewide::kPurgentArgs.begin(), machinewide::kPurgentArgs.end());
    EXPECT_EQ(prefix.Run(purgent, kTimeoutSeconds), 0) << prefix.Output();
    EXPECT_EQ(prefix.Run({Win64Exe("snapshot.exe"), WindowsPath(kImage), WindowsPath(outDir)}, kTimeoutSeconds), 0)
        << prefix.Output();
    return image::NetRegistry(image::LoadMachineImage(outDir).registry);
}

image::RegistryKeys CleanOnSim(const std::string& outDir) {
    std::string command = PurgentSimExe() + " --machine '" + kImage + "' --save '" + outDir + "' --trace '" +
                          outDir + ".trace' --";
    for (const std::string& arg : machinewide::kPurgentArgs) command += " " + arg;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return image::NetRegistry(image::LoadMachineImage(outDir).registry);
}

TEST(MachinewideRegistryE2e, ClientRegistrationsGoOthersStayAndTheSimAgrees) {
    const std::string work = ArtifactDir() + "/machinewide-registry";
    fs::remove_all(work);
    fs::create_directories(work);
    const image::RegistryKeys seeded = image::LoadMachineImage(kImage).registry;
    const image::RegistryKeys real = CleanOnWine(work + "/wine");
    const image::RegistryKeys simulated = CleanOnSim(work + "/sim");
    machinewide::ExpectCleaned(seeded, real, "wine");
    machinewide::ExpectCleaned(seeded, simulated, "sim");
    machinewide::ExpectSameOnNamedData(seeded, real, simulated);
}

}  // namespace
}  // namespace purgent::e2e
