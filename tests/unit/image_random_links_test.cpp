// Random workstations plant what leads a run away from the client: over a
// hundred seeds each kind shows up, and each planted link leads to what the
// image holds, with the users' and other programs' files there listed as
// bystanders.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "image/ansi_text.h"
#include "param_name.h"
#include "random_workstation.h"

namespace purgent::generator {
namespace {

constexpr std::uint64_t kSeeds = 100;

bool AtOrBelow(const std::string& path, const std::string& top) {
    return image::EqualsIgnoreCase(path.substr(0, top.size()), top) &&
           (path.size() == top.size() || path[top.size()] == '\\');
}

bool EndsWith(const std::string& path, const std::string& end) {
    return path.size() >= end.size() && image::EqualsIgnoreCase(path.substr(path.size() - end.size()), end);
}

// The folder App Paths names for a program, without a closing separator; "" when none.
std::string AppPathsFolder(const image::MachineImage& machine, const std::string& program) {
    const image::RegistryKeys keys = image::NetRegistry(machine.registry);
    const image::RegistryKey* key =
        image::FindKey(keys, "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + program);
    const image::RegistryValue* path = key ? image::FindValue(*key, "Path") : nullptr;
    if (!path || path->type != 1) return "";
    std::string folder(path->data.begin(), path->data.end());
    while (!folder.empty() && (folder.back() == '\0' || folder.back() == '\\')) folder.pop_back();
    return folder;
}

// The path where the image's junctions and links lead.
std::string Resolved(const image::MachineImage& machine, const std::string& path) {
    for (const auto* links : {&machine.machine.junctions, &machine.machine.reparsePoints})
        for (const image::Junction& link : *links)
            if (AtOrBelow(path, link.link)) return Resolved(machine, link.target + path.substr(link.link.size()));
    return path;
}

bool AnyLink(const image::MachineImage& machine, const std::function<bool(const image::ReparsePoint&)>& is) {
    return std::any_of(machine.machine.reparsePoints.begin(), machine.machine.reparsePoints.end(), is);
}

struct PlantCase {
    const char* what;
    std::function<bool(const image::MachineImage&)> planted;
};

bool ProgramFolderAt(const image::MachineImage& machine, const std::string& end) {
    return EndsWith(AppPathsFolder(machine, "GrpWise.exe"), end) || EndsWith(AppPathsFolder(machine, "nmcl32.exe"), end);
}

const PlantCase kPlantCases[] = {
    {"GWCheck a link", [](const image::MachineImage& m) { return AnyLink(m, [](auto& l) { return EndsWith(l.link, "\\GWCheck"); }); }},
    {"PPForms a link", [](const image::MachineImage& m) { return AnyLink(m, [](auto& l) { return EndsWith(l.link, "\\PPForms"); }); }},
    {"OFViews WIN a link",
     [](const image::MachineImage& m) { return AnyLink(m, [](auto& l) { return EndsWith(l.link, "\\OFViews\\WIN"); }); }},
    {"a Messenger history a link",
     [](const image::MachineImage& m) { return AnyLink(m, [](auto& l) { return EndsWith(l.link, "\\history\\admin"); }); }},
    {"a user's local GroupWise data a link",
     [](const image::MachineImage& m) {
         return AnyLink(m, [](auto& l) { return EndsWith(l.link, "\\Application Data\\GroupWise"); });
     }},
    {"a link to a user's documents",
     [](const image::MachineImage& m) { return AnyLink(m, [](auto& l) { return EndsWith(l.target, "Documents"); }); }},
    {"a link to another drive",
     [](const image::MachineImage& m) { return AnyLink(m, [](auto& l) { return AtOrBelow(l.target, "D:\\Data"); }); }},
    {"a file link in the program folder",
     [](const image::MachineImage& m) { return AnyLink(m, [](auto& l) { return EndsWith(l.link, "\\manual.txt"); }); }},
    {"App Paths at a user's documents", [](const image::MachineImage& m) { return ProgramFolderAt(m, "Documents"); }},
    {"App Paths at a user's desktop", [](const image::MachineImage& m) { return ProgramFolderAt(m, "Desktop"); }},
    {"App Paths at Office's folder", [](const image::MachineImage& m) { return ProgramFolderAt(m, "\\OFFICE11"); }},
    {"App Paths at another drive's data", [](const image::MachineImage& m) { return ProgramFolderAt(m, "D:\\Data"); }},
    {"App Paths at the Windows folder through a link",
     [](const image::MachineImage& m) {
         return image::EqualsIgnoreCase(AppPathsFolder(m, "GrpWise.exe"), "C:\\GW") &&
                AnyLink(m, [](auto& l) { return l.link == "C:\\GW" && l.target == "C:\\windows"; });
     }},
    {"a partly uninstalled client on another drive",
     [](const image::MachineImage& m) {
         return image::EqualsIgnoreCase(AppPathsFolder(m, "GrpWise.exe"), "D:\\Apps\\GroupWise") &&
                image::FindDriveItem(m.drive, "D:\\Apps\\GroupWise\\gwenv1.dll") &&
                !image::FindDriveItem(m.drive, "D:\\Apps\\GroupWise\\grpwise.exe");
     }},
};

class RandomPlants : public ::testing::TestWithParam<PlantCase> {};

TEST_P(RandomPlants, ShowUpInAHundredSeeds) {
    std::uint64_t seed = 1;
    while (seed <= kSeeds && !GetParam().planted(RandomWorkstation(seed).image)) ++seed;
    EXPECT_LE(seed, kSeeds);
}

INSTANTIATE_TEST_SUITE_P(Kinds, RandomPlants, ::testing::ValuesIn(kPlantCases), testing::CaseName<PlantCase>);

// Where a planted link leads the run, what the image holds is there, and no
// item lies at or below the link itself: what was made through it lies at its
// target. Each folder a link or App Paths leads to that is not the client's
// holds a listed bystander, and every bystander is a file of the image.
TEST(RandomLinks, LeadToWhatTheImageHoldsWithTheBystandersListed) {
    for (std::uint64_t seed = 1; seed <= kSeeds; ++seed) {
        const RandomMachine machine = RandomWorkstation(seed);
        const image::MachineImage& image = machine.image;
        for (const std::string& bystander : machine.bystanders) {
            const image::DriveItem* item = image::FindDriveItem(image.drive, bystander);
            EXPECT_TRUE(item && !item->folder) << seed << " " << bystander;
        }
        const auto holdsBystander = [&](const std::string& folder) {
            return std::any_of(machine.bystanders.begin(), machine.bystanders.end(),
                               [&](const std::string& bystander) { return AtOrBelow(bystander, folder); });
        };
        for (const image::ReparsePoint& link : image.machine.reparsePoints) {
            EXPECT_TRUE(image::FindDriveItem(image.drive, link.target)) << seed << " " << link.target;
            EXPECT_TRUE(holdsBystander(link.target)) << seed << " " << link.target;
            for (const image::DriveItem& item : image.drive) EXPECT_FALSE(AtOrBelow(item.path, link.link)) << seed << " " << item.path;
        }
        for (const char* program : {"GrpWise.exe", "nmcl32.exe"}) {
            const std::string folder = AppPathsFolder(image, program);
            if (EndsWith(folder, "Documents") || EndsWith(folder, "Desktop") || EndsWith(folder, "\\OFFICE11") ||
                EndsWith(folder, "D:\\Data") || EndsWith(folder, "C:\\GW")) {
                EXPECT_TRUE(holdsBystander(Resolved(image, folder))) << seed << " " << folder;
            }
        }
    }
}

}  // namespace
}  // namespace purgent::generator
