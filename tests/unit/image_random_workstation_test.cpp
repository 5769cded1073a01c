// Random workstations: the same seed gives the same image, every image loads
// and a run on it ends, and over a number of seeds every catalogue key of
// the class registrations shows up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <filesystem>
#include <set>

#include "image/ansi_text.h"
#include "purgent_sim/run_purgent.h"
#include "random_workstation.h"
#include "registry/machinewide_tables.h"
#include "scratch_folder.h"

namespace purgent::generator {
namespace {

std::string Saved(const RandomMachine& machine) {
    std::string saved = image::WriteRegText(machine.image.registry) + image::WriteMachineIni(machine.image.machine) +
                        std::to_string(machine.image.drive.size());
    for (const std::string& bystander : machine.bystanders) saved += "\n" + bystander;
    return saved;
}

TEST(RandomWorkstation, TheSameSeedGivesTheSameImageAndOtherSeedsOthers) {
    std::set<std::string> seen;
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        const std::string first = Saved(RandomWorkstation(seed));
        EXPECT_EQ(Saved(RandomWorkstation(seed)), first) << seed;
        seen.insert(first);
    }
    EXPECT_EQ(seen.size(), 20u);
}

TEST(RandomWorkstation, ImagesLoadAndARunOnThemEnds) {
    const purgent::testing::ScratchFolder saved("purgent-random");
    const std::string folder = saved.Path().string();
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
        const image::MachineImage generated = RandomWorkstation(seed).image;
        image::SaveMachineImage(generated, folder);
        const image::MachineImage loaded = image::LoadMachineImage(folder);
        EXPECT_TRUE(image::SameRegistry(loaded.registry, generated.registry)) << seed;
        EXPECT_EQ(loaded.drive.size(), generated.drive.size()) << seed;
        sim::SimMachine machine(loaded);
        const int status = sim::RunPurgentOnSim(machine, {"/sn"});
        EXPECT_TRUE(status == 0 || status == 2) << seed;
    }
}

TEST(RandomWorkstation, FiftySeedsHoldEveryClassRegistrationKey) {
    std::set<std::string> paths;
    for (std::uint64_t seed = 1; seed <= 50; ++seed)
        for (const image::RegistryKey& key : RandomWorkstation(seed).image.registry) {
            std::string folded = key.path;
            for (char& c : folded) c = image::FoldCase(c);
            paths.insert(folded);
        }
    for (const CatalogueKey& key : ClassRegistrations().trees) {
        std::string folded = "hkey_local_machine" + key.path;
        for (char& c : folded) c = image::FoldCase(c);
        EXPECT_TRUE(paths.count(folded)) << key.path;
    }
}

// The differential meets every kind of link key the program must not follow.
TEST(RandomWorkstation, TwentySeedsHoldEveryKindOfLinkKey) {
    const auto contains = [](const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    };
    const struct {
        const char* what;
        std::function<bool(const image::RegistryLink&)> is;
    } kinds[] = {
        {"to another program's key", [&](const image::RegistryLink& l) { return !contains(l.target, "Novell"); }},
        {"in a hive file", [](const image::RegistryLink& l) { return !l.hive.empty(); }},
        {"to itself", [](const image::RegistryLink& l) { return image::EqualsIgnoreCase(l.key, l.target); }},
        {"to its parent", [&](const image::RegistryLink& l) { return image::EqualsIgnoreCase(l.key, l.target + "\\Loop"); }},
        {"in a loop of two", [&](const image::RegistryLink& l) { return contains(l.target, "\\LoopB"); }},
    };
    std::vector<image::RegistryLink> links;
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        const image::MachineImage image = RandomWorkstation(seed).image;
        links.insert(links.end(), image.machine.registryLinks.begin(), image.machine.registryLinks.end());
    }
    for (const auto& kind : kinds) EXPECT_TRUE(std::any_of(links.begin(), links.end(), kind.is)) << kind.what;
}

}  // namespace
}  // namespace purgent::generator
