// 8.3 short names in the simulated drive, as Windows makes them, and the
// folder listings they make a mask match.
#include <gtest/gtest.h>

#include "platform/sim/sim_drive.h"
#include "platform/sim/sim_names.h"
#include "platform/sim/sim_short_names.h"
#include "sim_test_image.h"

namespace purgent::sim {
namespace {

TEST(SimShortNames, WindowsTakesSixCharactersOfTheBaseAndThreeOfTheExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"GWODMX.DLLOLD", "GWODMX~1.DLL"},
        {"gwold.dllx", "GWOLD~1.DLL"},
        {"wt61en.uwlx", "WT61EN~1.UWL"},
        {"Documents and Settings", "DOCUME~1"},
        {"Carla Maria", "CARLAM~1"},
        {"a+b;c.txt", "A_B_C~1.TXT"},
        {"read.me.now.txt", "README~1.TXT"},
        {".profile", "PROFIL~1"},
        {"GWENV1.DLL", ""},
        {"gwenv1.dll", ""},
        {"Notify.lnk", ""},
        // The 8.3 boundary: eight and three characters need no short name, one more does.
        {"NOTEPAD2.EXE", ""},
        {"notepad2.exe", ""},
        {"NOTEPAD23.EXE", "NOTEPA~1.EXE"},
        {"NOTEPAD2.EXEX", "NOTEPA~1.EXE"},
        {"ABCDEFGH", ""},
    };
    for (const auto& [name, shortName] : cases) EXPECT_EQ(MakeShortName(name, {}), shortName) << name;
}

TEST(SimShortNames, TheLowestFreeNumberIsTaken) {
    EXPECT_EQ(MakeShortName("GWODMX.DLLOLD", {FoldName("GWODMX~1.DLL")}), "GWODMX~2.DLL");
    EXPECT_EQ(MakeShortName("GWODMX.DLLOLD", {FoldName("gwodmx~1.dll"), FoldName("GWODMX~2.DLL")}), "GWODMX~3.DLL");
}

std::vector<std::string> Listed(const SimDrive& drive, const std::string& folder, const std::string& mask) {
    std::vector<std::string> names;
    for (const FoundFile& found : drive.Entries(folder, mask))
        if (found.name != "." && found.name != "..") names.push_back(found.name);
    return names;
}

// As FindFirstFileA lists them; the cleaning keeps only the long names that
// fit (LongNameMasks).
TEST(SimShortNames, AMaskMatchesTheShortNameUnlessTheVolumesHaveNone) {
    image::MachineImage image = ImageWithFiles({"C:\\W\\GWODMX.DLLOLD", "C:\\W\\gwold.dllx", "C:\\W\\gwenv1.dll",
                                                "C:\\W\\GWODM.TXT", "C:\\W\\wt61en.uwlx"});
    image.drive.insert(image.drive.begin(), image::DriveItem{"C:\\W", true, {}});
    struct Case {
        const char* mask;
        std::vector<std::string> withShortNames;
        std::vector<std::string> without;
    };
    const Case cases[] = {
        {"GWODM*.DLL", {"GWODMX.DLLOLD"}, {}},
        {"gw*.dll", {"gwenv1.dll", "GWODMX.DLLOLD", "gwold.dllx"}, {"gwenv1.dll"}},
        {"wt61*.uwl", {"wt61en.uwlx"}, {}},
        {"*.txt", {"GWODM.TXT"}, {"GWODM.TXT"}},
    };
    image::MachineImage noShortNames = image;
    noShortNames.machine.machine.otherKeys.push_back({"short-names", "no"});
    const SimDrive drive(image.drive, image.machine), plain(noShortNames.drive, noShortNames.machine);
    for (const Case& c : cases) {
        EXPECT_EQ(Listed(drive, "C:\\W", c.mask), c.withShortNames) << c.mask;
        EXPECT_EQ(Listed(plain, "C:\\W", c.mask), c.without) << c.mask;
    }
}

}  // namespace
}  // namespace purgent::sim
