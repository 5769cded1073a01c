// The real purgent.exe never writes through a link: a run log planted as a
// symbolic or hard link to win.ini, or a capture folder planted as a link,
// ends the run with the error box and status 2, and the file or folder the
// link leads to keeps every byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "../unit/param_name.h"
#include "ui_support.h"

namespace purgent::e2e {
namespace {

namespace fs = std::filesystem;

constexpr const char* kWinIni = "C:\\windows\\win.ini";
constexpr const char* kEmptyFolder = "C:\\Empty";

struct PlantedCase {
    const char* what;
    std::function<void(const PurgentDesk&)> plant;
    std::vector<std::string> args;
    std::string box;
    const char* target;  // what the link leads to
};

fs::path Temp(const PurgentDesk& desk) {
    const fs::path temp = desk.UnixPath("C:\\") + "/Temp";
    fs::create_directories(temp);
    return temp;
}

const PlantedCase kPlantedCases[] = {
    {"a log that is a symbolic link to win.ini",
     [](const PurgentDesk& desk) { fs::create_symlink(desk.UnixPath(kWinIni), Temp(desk) / "purgent.log"); },
     {"/sp", "/log=C:\\Temp\\purgent.log"}, "Cannot create the log file 'C:\\Temp\\purgent.log': it is a link.",
     kWinIni},
    {"a log that is a hard link to win.ini",
     [](const PurgentDesk& desk) { fs::create_hard_link(desk.UnixPath(kWinIni), Temp(desk) / "purgent.log"); },
     {"/sp", "/log=C:\\Temp\\purgent.log"},
     "Cannot create the log file 'C:\\Temp\\purgent.log': the file has other names (hard links).", kWinIni},
    {"a capture folder that is a symbolic link to an empty folder",
     [](const PurgentDesk& desk) {
         const fs::path empty = desk.UnixPath("C:\\") + "/Empty";
         fs::create_directory(empty);
         fs::create_directory_symlink(empty, Temp(desk) / "cap");
     },
     {"/sp", "/capture=C:\\Temp\\cap"}, "The capture folder 'C:\\Temp\\cap' is a link.", kEmptyFolder},
};

// A file's bytes; a folder's entries by name.
std::string Contents(const fs::path& path) {
    if (fs::is_directory(path)) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        std::string listed = "folder:";
        for (const std::string& name : names) listed += " " + name;
        return listed;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class WrittenThroughLinksE2e : public ::testing::TestWithParam<PlantedCase> {};

TEST_P(WrittenThroughLinksE2e, IsRefusedWithStatusTwoAndTheTargetKeepsEveryByte) {
    const PlantedCase& c = GetParam();
    PurgentDesk desk;
    c.plant(desk);
    const std::string before = Contents(desk.UnixPath(c.target));
    WineProcess purgent = desk.StartPurgent(c.args);
    EXPECT_EQ(desk.Ui({"box", c.box, "120"}), kUiOk) << desk.Output();
    EXPECT_EQ(purgent.Wait(60), 2) << desk.Output();
    EXPECT_EQ(Contents(desk.UnixPath(c.target)), before);
}

INSTANTIATE_TEST_SUITE_P(Planted, WrittenThroughLinksE2e, ::testing::ValuesIn(kPlantedCases),
                         purgent::testing::CaseName<PlantedCase>);

}  // namespace
}  // namespace purgent::e2e
