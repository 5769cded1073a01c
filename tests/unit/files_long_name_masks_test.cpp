// The cleaning's folder listings keep only the entries whose long name fits
// the mask, whatever their 8.3 short names fit.
#include <gtest/gtest.h>

#include "files/file_access.h"
#include "long_name_image_expectations.h"
#include "platform/sim/sim_short_names.h"
#include "purgent_sim/run_purgent.h"
#include "shutdown_sim_machine.h"

namespace purgent {
namespace {

using Lines = std::vector<std::string>;

// Whether a listing of mask in a folder holding only this file lists it.
bool Listed(const std::string& mask, const std::string& name) {
    image::MachineImage image;
    image.drive = {{"C:\\T", true, {}}, {"C:\\T\\" + name, false, {}}};
    sim::SimMachine machine(image);
    LinkGuard guard(machine.GetPlatform());
    FileListing listing(machine.GetPlatform().files, "C:\\T\\" + mask, PlainFiles, guard);
    return listing.HasEntry() && listing.Name() == name;
}

TEST(LongNameMasks, AFileFoundOnlyThroughItsShortNameIsNotListed) {
    struct Case {
        const char* mask;
        const char* name;
        const char* shortName;  // as Windows makes it, and FindFirstFileA matches it
        bool listed;
    };
    const Case cases[] = {
        {"GWMSP1*.DLL", "GWMSP132.DLLX", "GWMSP1~1.DLL", false},
        {"GWODM*.DLL", "GWODMX.DLL_bal", "GWODMX~1.DLL", false},
        {"GWABP1*.DLL", "GWABP1X.DLL_bak", "GWABP1~1.DLL", false},
        {"GWENL1*.DLL", "GWENL12000.DLLX", "GWENL1~1.DLL", false},
        {"GWSHL1*.DLL", "GWSHL1X.DLLOLE", "GWSHL1~1.DLL", false},
        {"wt61*.uwl", "wt61en.uwlx", "WT61EN~1.UWL", false},
        {"gw*.dll", "gwold.dllx", "GWOLD~1.DLL", false},
        {"gw*.dll", "gw.old.dll", "GWOLD~1.DLL", true},
        {"*.*", "GWMSP132.DLLX", "GWMSP1~1.DLL", true},
        // Without a wildcard a mask names one file, by either of its names.
        {"GWMSP1~1.DLL", "GWMSP132.DLLX", "GWMSP1~1.DLL", true},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(sim::MakeShortName(c.name, {}), c.shortName) << c.name;
        EXPECT_EQ(Listed(c.mask, c.name), c.listed) << c.mask << " " << c.name;
    }
}

TEST(LongNameMasks, LongNamesFitByWindowsWildcardRules) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"GWMSP1*.DLL", "gwmsp132.dll", true},     // any case
        {"gw*.dll", "gw.dll", true},               // "*": any run, an empty one too
        {"*.*", "README", true},                   // everything
        {"*", "read.me.txt", true},
        {"GWMSP13?.DLL", "GWMSP132.DLL", true},    // "?": one character,
        {"GWMSP13?.DLL", "GWMSP13.DLL", true},     // or none before a dot
        {"GWMSP13?.DLL", "GWMSP1322.DLL", false},
        {"a?c", "a.c", false},                     // never a dot
        {"gw*", "gwold.dll", true},                // a mask without a dot
        {"gw*", "gwold", true},
        {"gwold", "gwold.dll", false},
        {"gw.*", "gw", true},                      // a dot before a wildcard may be the end
        {"*.", "README", true},                    // "*.": names without an extension
        {"*.", "readme.txt", false},
        {"*.dll", "gw.old.dll", true},             // several dots
        {"gw*.dll", "gwold.dll.bak", false},
        {"*.old.dll", "gw.old.dll", true},
        {"gw*.dll.", "gwold.dll", true},           // trailing dots and blanks do not count
        {"gw*.dll. ", "gwold.dll", true},
        {"gw*.dll.", "gwold.dllx", false},
    };
    for (const auto& [mask, name, listed] : cases) EXPECT_EQ(Listed(mask, name), listed) << mask << " " << name;
}

// Regsvr32's DLL of each launch.
Lines UnregisteredDlls(sim::SimMachine& machine) {
    Lines dlls;
    for (const std::string& launch : test::TraceOf(machine, "launch"))
        dlls.push_back(launch.substr(launch.find(" /u /s ") + 7));
    return dlls;
}

// The same on volumes with and without short names.
TEST(LongNameMasks, ARunUnregistersAndDeletesOnlyTheFilesTheMasksName) {
    const image::MachineImage seeded = image::LoadMachineImage(longnames::kImage);
    for (const char* shortNames : {"yes", "no"}) {
        image::MachineImage image = seeded;
        image.machine.machine.otherKeys.push_back({"short-names", shortNames});
        sim::SimMachine machine(image);
        EXPECT_EQ(sim::RunPurgentOnSim(machine, longnames::kPurgentArgs), 0);
        const image::MachineImage after = machine.SaveImage();
        EXPECT_EQ(UnregisteredDlls(machine),
                  (Lines{R"(C:\WINDOWS\system32\GWENV1.DLL)", R"(C:\WINDOWS\system\GWMSP132.DLL)"}))
            << shortNames;
        dlls::ExpectRegistrations(after.registry, shortNames, longnames::kRegistrations);
        longnames::ExpectFilesLeft(seeded, after, shortNames);
    }
}

}  // namespace
}  // namespace purgent
