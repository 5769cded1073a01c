#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "image/machine_image.h"
#include "image_error_of.h"
#include "scratch_folder.h"

namespace purgent::image {
namespace {
namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
class MachineImageFolder : public ::testing::Test {
protected:
    void Write(const std::string& relative, const std::string& text) {
        const fs::path path = dir_ / fs::u8path(relative);
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string Dir() const { return dir_.string(); }

    std::string LoadError() {
        return ImageErrorOf([&] { LoadMachineImage(Dir()); });
    }

    purgent::testing::ScratchFolder scratch_{"purgent-image"};
    const fs::path dir_ = scratch_.Path();
};

std::vector<std::string> Paths(const DriveItems& items) {
    std::vector<std::string> paths;
    for (const DriveItem& item : items) paths.push_back(item.path);
    return paths;
}

TEST_F(MachineImageFolder, EmptyFolderIsABareNtWorkstation) {
    const MachineImage image = LoadMachineImage(Dir());
    EXPECT_TRUE(image.registry.empty());
    EXPECT_TRUE(image.drive.empty());
    EXPECT_EQ(image.machine.machine.windir, std::string("C:\\WINDOWS"));
    EXPECT_EQ(image.machine.machine.platform, PlatformFamily::Nt);
}

TEST_F(MachineImageFolder, LoadsDrivesFoldersFirstSortedCaseInsensitively) {
    Write("drive/C/WINDOWS/system32/gwenv1.dll", "dll");
    Write("drive/C/Documents and Settings/ann/NTUSER.DAT", "Windows Registry Editor Version 5.00\n");
    Write("drive/C/b.txt", "b");
    Write("drive/C/A.txt", "a");
    Write("drive/d/Caf\xC3\xA9.txt", "");
    const MachineImage image = LoadMachineImage(Dir());
    EXPECT_EQ(Paths(image.drive), (std::vector<std::string>{
                                      "C:\\A.txt",
                                      "C:\\b.txt",
                                      "C:\\Documents and Settings",
                                      "C:\\Documents and Settings\\ann",
                                      "C:\\Documents and Settings\\ann\\NTUSER.DAT",
                                      "C:\\WINDOWS",
                                      "C:\\WINDOWS\\system32",
                                      "C:\\WINDOWS\\system32\\gwenv1.dll",
                                      "D:\\Caf\xE9.txt",
                                  }));
    const DriveItem* dll = FindDriveItem(image.drive, "c:\\windows\\SYSTEM32\\GWENV1.DLL");
    ASSERT_NE(dll, nullptr);
    EXPECT_EQ(dll->contents, (Bytes{'d', 'l', 'l'}));
    EXPECT_TRUE(FindDriveItem(image.drive, "C:\\windows")->folder);
    EXPECT_EQ(FindDriveItem(image.drive, "C:\\WINDOWS\\system32\\gwenv2.dll"), nullptr);
    EXPECT_TRUE(IsHiveFile(*FindDriveItem(image.drive, "C:\\Documents and Settings\\ann\\ntuser.dat")));
    EXPECT_FALSE(IsHiveFile(*dll));
    EXPECT_FALSE(IsHiveFile(DriveItem{"C:\\ntuser.dat", true, {}}));
}

TEST_F(MachineImageFolder, SaveThenLoadGivesTheSameImage) {
    MachineImage image;
    image.registry.push_back({"HKEY_LOCAL_MACHINE\\Software\\Novell", {{"x", 4, {1, 0, 0, 0}, false}}, false});
    image.machine.locked = {"C:\\Novell\\a.dll"};
    image.drive = {{"C:\\Novell", true, {}},
                   {"C:\\Novell\\a.dll", false, {0, 1, 2, 0xFF}},
                   {"C:\\Novell\\Empty", true, {}},
                   {"E:\\Fen\xEAtre\\x", false, {}}};
    Write("drive/C/stale.txt", "left from before");
    SaveMachineImage(image, Dir());
    EXPECT_TRUE(fs::exists(dir_ / fs::u8path("drive/E/Fen\xC3\xAAtre/x")));
    const MachineImage back = LoadMachineImage(Dir());
    EXPECT_TRUE(SameRegistry(back.registry, image.registry));
    EXPECT_EQ(back.machine.locked, image.machine.locked);
    EXPECT_EQ(Paths(back.drive), (std::vector<std::string>{"C:\\Novell", "C:\\Novell\\a.dll", "C:\\Novell\\Empty",
                                                           "E:\\Fen\xEAtre", "E:\\Fen\xEAtre\\x"}));
    EXPECT_EQ(back.drive[1].contents, image.drive[1].contents);
}

TEST_F(MachineImageFolder, UnusableImagesAreRefusedWithTheirPlace) {
    Write("drive/C/a.txt", "");
    Write("drive/C/A.TXT", "");
    EXPECT_NE(LoadError().find("\"A.TXT\" and \"a.txt\" are the same name on Windows"), std::string::npos)
        << LoadError();
    fs::remove_all(dir_ / "drive");
    Write("drive/c/a.txt", "");
    Write("drive/C/b.txt", "");
    EXPECT_NE(LoadError().find("drive C given twice"), std::string::npos) << LoadError();
    fs::remove_all(dir_ / "drive");
    Write("drive/CD/a.txt", "");
    EXPECT_NE(LoadError().find("expected a folder named by a drive letter"), std::string::npos) << LoadError();
    fs::remove_all(dir_ / "drive");
    Write("drive/C/a\\b.txt", "");
    EXPECT_NE(LoadError().find("\"a\\b.txt\" is not a valid Windows file name"), std::string::npos) << LoadError();
    fs::remove_all(dir_ / "drive");
    Write("registry.reg", "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\X]\nbad\n");
    EXPECT_EQ(LoadError(), (dir_ / "registry.reg").string() + ":3: expected \"name\"= or @=");
}

// A link key is no key of the registry it lies in (registry.reg's, or its
// hive file's), holds none and lies in no other link: Windows could not have
// made it so.
TEST_F(MachineImageFolder, ALinkKeyThatIsAlsoAKeyIsRefused) {
    const std::string hive = R"(C:\Documents and Settings\ann\ntuser.dat)";
    const struct {
        const char* what;
        std::string links;  // [registry-link] lines
        std::string error;  // after "machine.ini: [registry-link] "; "" when the image loads
    } cases[] = {
        {"a link beside the keys", R"(HKEY_LOCAL_MACHINE\Software\L=HKEY_LOCAL_MACHINE\Software\A)", ""},
        {"a key of registry.reg", R"(HKEY_LOCAL_MACHINE\Software\A=HKEY_LOCAL_MACHINE\Software)",
         R"(HKEY_LOCAL_MACHINE\Software\A is a key of its registry too (HKEY_LOCAL_MACHINE\Software\A))"},
        {"holding a key", R"(HKEY_CLASSES_ROOT\.gw=HKEY_LOCAL_MACHINE\Software)",
         R"(HKEY_CLASSES_ROOT\.gw is a key of its registry too (HKEY_LOCAL_MACHINE\Software\Classes\.gw))"},
        {"inside another link",
         "HKEY_LOCAL_MACHINE\\Software\\L=HKEY_LOCAL_MACHINE\\X\nHKEY_LOCAL_MACHINE\\Software\\L\\M=HKEY_LOCAL_MACHINE\\X\n",
         R"(HKEY_LOCAL_MACHINE\Software\L\M lies at or below the link HKEY_LOCAL_MACHINE\Software\L)"},
        {"a key of its hive file", hive + R"(|HKEY_CURRENT_USER\Software\Novell=HKEY_LOCAL_MACHINE\Software)",
         R"(HKEY_CURRENT_USER\Software\Novell is a key of its registry too (HKEY_CURRENT_USER\Software\Novell))"},
        {"in a hive file, where registry.reg has the key",
         hive + R"(|HKEY_CURRENT_USER\Software\Classes=HKEY_LOCAL_MACHINE\Software)", ""},
    };
    Write("registry.reg",
          "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Software\\A]\n"
          "[HKEY_CLASSES_ROOT\\.gw\\Sub]\n[HKEY_CURRENT_USER\\Software\\Classes]\n");
    Write("drive/C/Documents and Settings/ann/ntuser.dat",
          "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\Software\\Novell]\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Write("machine.ini", "[registry-link]\n" + c.links + "\n");
        EXPECT_EQ(LoadError(), c.error.empty() ? "no error" : (dir_ / "machine.ini").string() + ": [registry-link] " + c.error);
    }
}

TEST_F(MachineImageFolder, SaveRefusesPathsThatLeaveTheDrive) {
    const std::string saved = (dir_ / "image").string();
    for (const std::string path : {"C:\\..\\..\\etc\\passwd", "C:\\..\\..\\..\\passwd", "C:\\a/b",
                                   "relative\\x", "C:\\", "C:\\a\\\\b"}) {
        MachineImage image;
        image.drive = {{path, false, {}}};
        EXPECT_THROW(SaveMachineImage(image, saved), ImageError) << path;
    }
    // Where the two climbing paths lead: into the image folder and beside it.
    for (const auto& entry : fs::recursive_directory_iterator(dir_))
        EXPECT_NE(entry.path().filename().string(), "passwd") << entry.path();
}

}  // namespace
}  // namespace purgent::image
