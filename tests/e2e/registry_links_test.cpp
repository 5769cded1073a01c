// The real purgent.exe on a Wine machine whose registry holds link keys made
// with REG_OPTION_CREATE_LINK, in the machine's keys, the logged-on user's
// and another user's hive: each link in the client's keys goes as a link and
// every key one leads to stays, loops end nothing (the log ends with its exit
// line), a key the catalogue names through a link is kept and noted; and
// purgent-sim cleans the image to the same machine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "image/ansi_text.h"
#include "image/machine_image.h"
#include "image_runs.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

const std::string kImage = std::string(PURGENT_TEST_DATA) + "/registry-links";
const std::vector<std::string> kPurgentArgs = {"/sn"};

// The keys the links lead to, with their values.
const char* const kTargets[] = {
    R"(HKEY_LOCAL_MACHINE\Software\Bystander\Settings)",
    R"(HKEY_LOCAL_MACHINE\Software\Bystander\Settings\Deep)",
    R"(HKEY_LOCAL_MACHINE\Software\Other\GroupWise)",
};

// In any case: Wine spells its own keys its way (HKEY_USERS\.Default).
std::vector<std::string> KeptNotes(const std::string& log) {
    std::vector<std::string> notes;
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("# kept\t", 0) != 0) continue;
        for (char& c : line) c = image::FoldCase(c);
        notes.push_back(line);
    }
    return notes;
}

std::vector<std::string> LinkKeys(const image::MachineImage& machine) {
    std::vector<std::string> keys;
    for (const image::RegistryLink& link : machine.machine.registryLinks)
        keys.push_back((link.hive.empty() ? "" : link.hive + "|") + link.key + "=" + link.target);
    return keys;
}

TEST(RegistryLinksE2e, EveryTargetStaysTheLinksGoAndTheRunEnds) {
    const std::string work = ArtifactDir() + "/registry-links";
    std::filesystem::remove_all(work);
    const image::MachineImage seeded = image::LoadMachineImage(kImage);
    const image::MachineImage onWine = CleanOnWine(kImage, kPurgentArgs, work + "/wine");
    std::vector<std::string> simArgs = kPurgentArgs;
    simArgs.push_back("/log=C:\\purgent-sim.log");
    const image::MachineImage inSim = CleanOnSim(kImage, simArgs, work + "/sim");

    const image::RegistryKeys named = image::NetRegistry(seeded.registry);
    for (const char* target : kTargets) {
        const image::RegistryKey* left = image::FindKey(onWine.registry, target);
        ASSERT_NE(left, nullptr) << target;
        EXPECT_TRUE(image::SameRegistry({*left}, {*image::FindKey(named, target)})) << target;
    }
    ExpectSameOnNamedData(seeded.registry, onWine.registry, inSim.registry, "registry links");
    // Only the link the run met on the way to a key is left, on both.
    EXPECT_EQ(LinkKeys(onWine), (std::vector<std::string>{R"(HKEY_USERS\.DEFAULT\Software\Novell=)"
                                                          R"(HKEY_LOCAL_MACHINE\Software\Other)"}));
    EXPECT_EQ(LinkKeys(onWine), LinkKeys(inSim));

    const std::vector<std::string> events = EventLines(work + "/wine.log");
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), "exit\t0");
    ExpectSameEvents(kImage, work + "/wine", work + "/sim");
    const std::vector<std::string> kept = KeptNotes(work + "/wine.log");
    EXPECT_FALSE(kept.empty());
    EXPECT_EQ(kept, KeptNotes(work + "/sim/drive/C/purgent-sim.log"));
}

}  // namespace
}  // namespace purgent::e2e
