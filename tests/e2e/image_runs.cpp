#include "image_runs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "wine_harness.h"

namespace purgent::e2e {

namespace {
constexpr int kTimeoutSeconds = 300;
}

std::string WindowsPath(const std::string& hostPath) {
    std::string path = "Z:" + std::filesystem::absolute(hostPath).string();
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

image::MachineImage CleanOnWine(const std::string& imageDir, const std::vector<std::string>& purgentArgs,
                                const std::string& outDir) {
    WinePrefix prefix;
    EXPECT_EQ(prefix.Run({Win64Exe("seed.exe"), WindowsPath(imageDir)}, kTimeoutSeconds), 0)
        << prefix.Output();
    std::vector<std::string> purgent = {Win64Exe("purgent.exe")};
    purgent.insert(purgent.end(), purgentArgs.begin(), purgentArgs.end());
    EXPECT_EQ(prefix.Run(purgent, kTimeoutSeconds), 0) << prefix.Output();
    EXPECT_EQ(
        prefix.Run({Win64Exe("snapshot.exe"), WindowsPath(imageDir), WindowsPath(outDir)}, kTimeoutSeconds),
        0)
        << prefix.Output();
    return image::LoadMachineImage(outDir);
}

image::MachineImage CleanOnSim(const std::string& imageDir, const std::vector<std::string>& purgentArgs,
                               const std::string& outDir) {
    std::string command = PurgentSimExe() + " --machine '" + imageDir + "' --save '" + outDir +
                          "' --trace '" + outDir + ".trace' --";
    for (const std::string& arg : purgentArgs) command += " '" + arg + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return image::LoadMachineImage(outDir);
}

}  // namespace purgent::e2e
