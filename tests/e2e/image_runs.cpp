#include "image_runs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "image/ansi_text.h"

#include "wine_harness.h"

namespace purgent::e2e {

namespace {
constexpr int kTimeoutSeconds = 300;

// The event lines of a run log or trace: the log's header lines left out.
std::vector<std::string> EventLines(const std::string& file) {
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("#", 0) != 0) lines.push_back(line);
    return lines;
}

bool IsRegsvrLaunch(const std::string& line) {
    if (line.rfind("launch\t", 0) != 0) return false;
    const std::string program = line.substr(7, line.find('\t', 7) - 7);
    return program.size() >= 12 && image::EqualsIgnoreCase(program.substr(program.size() - 12), "regsvr32.exe");
}

std::vector<std::string> WithoutRegsvrDeletions(const std::vector<std::string>& lines) {
    std::vector<std::string> kept;
    bool afterRegsvr = false;
    for (const std::string& line : lines) {
        const bool deletion = line.rfind("reg-delete-key\t", 0) == 0;
        if (!(afterRegsvr && deletion)) kept.push_back(line);
        afterRegsvr = IsRegsvrLaunch(line) || (afterRegsvr && deletion);
    }
    return kept;
}
}  // namespace

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
    std::filesystem::create_directories(std::filesystem::path(outDir).parent_path());
    std::vector<std::string> purgent = {target.Exe("purgent.exe")};
    purgent.insert(purgent.end(), purgentArgs.begin(), purgentArgs.end());
    purgent.push_back("/log=" + WindowsPath(outDir + ".log"));
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

void ExpectSameEvents(const std::string& wineOutDir, const std::string& simOutDir) {
    const std::vector<std::string> real = EventLines(wineOutDir + ".log");
    const std::vector<std::string> simulated = WithoutRegsvrDeletions(EventLines(simOutDir + ".trace"));
    ASSERT_FALSE(real.empty()) << wineOutDir << ".log";
    for (std::size_t i = 0; i < std::max(real.size(), simulated.size()); ++i) {
        const std::string a = i < real.size() ? real[i] : "(end)";
        const std::string b = i < simulated.size() ? simulated[i] : "(end)";
        ASSERT_TRUE(image::EqualsIgnoreCase(a, b))
            << "event " << i + 1 << " differs:\n  wine: " << a << "\n  sim:  " << b << "\n(" << wineOutDir
            << ".log, " << simOutDir << ".trace)";
    }
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
