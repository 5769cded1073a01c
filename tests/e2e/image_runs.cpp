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
                                const std::string& outDir, const E2eTarget& target) {
    WinePrefix prefix(target.arch);
    EXPECT_EQ(prefix.Run({target.Exe("seed.exe"), WindowsPath(imageDir)}, kTimeoutSeconds), 0)
        << prefix.Output();
    std::vector<std::string> purgent = {target.Exe("purgent.exe")};
    purgent.insert(purgent.end(), purgentArgs.begin(), purgentArgs.end());
    EXPECT_EQ(prefix.Run(purgent, kTimeoutSeconds), 0) << prefix.Output();
    EXPECT_EQ(
        prefix.Run({target.Exe("snapshot.exe"), WindowsPath(imageDir), WindowsPath(outDir)}, kTimeoutSeconds),
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

void ExpectSameOnNamedData(const image::RegistryKeys& seeded, const image::RegistryKeys& real,
                           const image::RegistryKeys& simulated, const std::string& who) {
    for (const image::RegistryKey& key : seeded) {
        const image::RegistryKey* onWine = image::FindKey(real, key.path);
        const image::RegistryKey* inSim = image::FindKey(simulated, key.path);
        ASSERT_EQ(onWine != nullptr, inSim != nullptr)
            << who << ": " << key.path << (onWine ? " only on Wine" : " only in the sim");
        if (!onWine) continue;
        for (const image::RegistryValue& value : key.values) {
            const std::string where = who + ": " + key.path + " [" + value.name + "]";
            const image::RegistryValue* a = image::FindValue(*onWine, value.name);
            const image::RegistryValue* b = image::FindValue(*inSim, value.name);
            ASSERT_EQ(a != nullptr, b != nullptr) << where << (a ? " only on Wine" : " only in the sim");
            if (!a) continue;
            EXPECT_EQ(a->type, b->type) << where;
            EXPECT_EQ(a->data, b->data) << where;
        }
    }
}

}  // namespace purgent::e2e
