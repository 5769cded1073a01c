// The preview's picture of the machine: what the run deletes or changes is
// gone or changed for every later read, and nothing reaches the machine.
#include <gtest/gtest.h>

#include "platform/preview/preview_files.h"
#include "platform/preview/preview_registry.h"
#include "platform/sim/sim_machine.h"

namespace purgent {
namespace {

// The machine under the preview: reads pass, any change fails the test.
class ReadOnlyRegistry final : public RegistryService {
public:
    explicit ReadOnlyRegistry(RegistryService& inner) : inner_(inner) {}
    long OpenKey(RegKey base, const std::string& subKey, RegKey& opened) override { return inner_.OpenKey(base, subKey, opened); }
    long CloseKey(RegKey key) override { return inner_.CloseKey(key); }
    long QueryInfoKey(RegKey key, std::uint32_t& s, std::uint32_t& m, std::uint32_t& v) override {
        return inner_.QueryInfoKey(key, s, m, v);
    }
    long EnumKey(RegKey key, std::uint32_t index, std::string& name) override { return inner_.EnumKey(key, index, name); }
    long EnumValue(RegKey key, std::uint32_t index, std::string& name) override { return inner_.EnumValue(key, index, name); }
    long QueryValue(RegKey key, const std::string& name, std::uint32_t& type, std::vector<std::uint8_t>& data) override {
        return inner_.QueryValue(key, name, type, data);
    }
    long SetValue(RegKey, const std::string& name, std::uint32_t, const std::vector<std::uint8_t>&) override {
        ADD_FAILURE() << "value set on the machine: " << name;
        return winerr::AccessDenied;
    }
    long DeleteKey(RegKey, const std::string& subKey) override {
        ADD_FAILURE() << "key deleted on the machine: " << subKey;
        return winerr::AccessDenied;
    }
    LinkCheck CheckLink(RegKey base, const std::string& subKey, RegLink& link) override {
        return inner_.CheckLink(base, subKey, link);
    }
    long OpenAsLink(RegKey base, const std::string& subKey, RegKey& opened) override {
        return inner_.OpenAsLink(base, subKey, opened);
    }
    bool IsLink(RegKey key, RegLink& link) override { return inner_.IsLink(key, link); }
    long DeleteLink(RegKey, const std::string& subKey) override {
        ADD_FAILURE() << "link deleted on the machine: " << subKey;
        return winerr::AccessDenied;
    }
    long DeleteValue(RegKey, const std::string& name) override {
        ADD_FAILURE() << "value deleted on the machine: " << name;
        return winerr::AccessDenied;
    }
    long LoadKey(RegKey root, const std::string& name, const std::string& file) override { return inner_.LoadKey(root, name, file); }
    long UnLoadKey(RegKey, const std::string& name) override {
        ADD_FAILURE() << "hive written back: " << name;
        return winerr::AccessDenied;
    }
    long UnLoadKeyUnchanged(RegKey root, const std::string& name) override { return inner_.UnLoadKeyUnchanged(root, name); }
    std::string KeyPath(RegKey base, const std::string& subKey) override { return inner_.KeyPath(base, subKey); }
    bool EnableRestorePrivilege() override { return inner_.EnableRestorePrivilege(); }

private:
    RegistryService& inner_;
};

class ReadOnlyFiles final : public FileService {
public:
    explicit ReadOnlyFiles(FileService& inner) : inner_(inner) {}
    FindHandle FindFirst(const std::string& mask, FoundFile& entry) override { return inner_.FindFirst(mask, entry); }
    bool FindNext(FindHandle find, FoundFile& entry) override { return inner_.FindNext(find, entry); }
    void FindClose(FindHandle find) override { inner_.FindClose(find); }
    std::uint32_t GetAttributes(const std::string& path) override { return inner_.GetAttributes(path); }
    long SetAttributes(const std::string& path, std::uint32_t) override { return Refused("attributes set", path); }
    bool RemoveFile(const std::string& path) override { return Refused("file deleted", path) == 0; }
    bool RemoveFolder(const std::string& path) override { return Refused("folder removed", path) == 0; }
    long RemoveError() override { return inner_.RemoveError(); }
    long DeleteAccess(const std::string& path) override { return inner_.DeleteAccess(path); }
    long DeleteAtRestart(const std::string& path) override { return Refused("scheduled at restart", path); }
    long CreateFolder(const std::string& path) override { return Refused("folder created", path); }
    WriteHandle CreateForWriting(const std::string& path, WriteStart, WriteRefusal&) override {
        return Refused("file written", path), NoWrite;
    }
    bool Write(WriteHandle, const std::string&) override { return false; }
    void CloseWritten(WriteHandle) override {}
    std::string FullPathName(const std::string& path) override { return inner_.FullPathName(path); }
    std::string LongPathName(const std::string& path) override { return inner_.LongPathName(path); }
    bool OnNetworkDrive(const std::string& path) override { return inner_.OnNetworkDrive(path); }
    bool OpenToUsers(const std::string& folder) override { return inner_.OpenToUsers(folder); }
    std::string FinalPathName(const std::string& path) override { return inner_.FinalPathName(path); }

private:
    long Refused(const char* what, const std::string& path) {
        ADD_FAILURE() << what << " on the machine: " << path;
        return winerr::AccessDenied;
    }
    FileService& inner_;
};

image::RegistryValue Text(const std::string& name, const std::string& text) {
    image::Bytes data(text.begin(), text.end());
    data.push_back(0);
    return {name, RegSz, data, false};
}

image::MachineImage Workstation() {
    image::MachineImage image;
    image.registry = {{"HKEY_LOCAL_MACHINE\\Software\\Client", {Text("Path", "C:\\Client"), Text("Other", "kept")}, false},
                      {"HKEY_LOCAL_MACHINE\\Software\\Client\\Sub", {}, false},
                      {"HKEY_LOCAL_MACHINE\\Software\\Clientele", {}, false},
                      {"HKEY_LOCAL_MACHINE\\Software\\Locked", {}, false}};
    image.drive = {{"C:\\Client", true, {}}, {"C:\\Client\\a.dll", false, {}}, {"C:\\Client\\b.dll", false, {}},
                   {"C:\\Client\\held.dll", false, {}}, {"C:\\Client\\readme.txt", false, {}},
                   {"C:\\Client\\Data", true, {}}, {"C:\\Client\\Data\\x.db", false, {}}};
    image.machine.denied = {"HKEY_LOCAL_MACHINE\\Software\\Locked"};
    image.machine.locked = {"C:\\Client\\held.dll"};
    image.machine.attributes = {{"C:\\Client\\readme.txt", FileAttrReadOnly}};
    return image;
}

class PreviewOverlay : public ::testing::Test {
protected:
    PreviewOverlay() : machine_(Workstation()), realRegistry_(machine_.Registry()), realFiles_(Files()),
                       registry_(realRegistry_, state_), files_(realFiles_, state_) {
        state_.active = true;
    }

    FileService& Files() { return machine_.GetPlatform().files; }  // nothing above it is active

    std::vector<std::string> Subkeys(const std::string& path) {
        RegKey key = 0;
        std::vector<std::string> names;
        if (registry_.OpenKey(HkeyLocalMachine, path, key) != winerr::Success) return names;
        std::string name;
        for (std::uint32_t i = 0; registry_.EnumKey(key, i, name) == winerr::Success; ++i) names.push_back(name);
        registry_.CloseKey(key);
        return names;
    }

    std::vector<std::string> Listed(const std::string& mask) {
        std::vector<std::string> names;
        FoundFile entry;
        const FindHandle find = files_.FindFirst(mask, entry);
        if (find == NoFind) return names;
        do names.push_back(entry.name);
        while (files_.FindNext(find, entry));
        files_.FindClose(find);
        return names;
    }

    sim::SimMachine machine_;
    ReadOnlyRegistry realRegistry_;
    ReadOnlyFiles realFiles_;
    PreviewState state_;
    PreviewRegistry registry_;
    PreviewFiles files_;
};

TEST_F(PreviewOverlay, AKeyDeletedIsGoneForLaterReadsItsLookAlikeStays) {
    EXPECT_EQ(registry_.DeleteKey(HkeyLocalMachine, "Software\\Client"), winerr::AccessDenied);  // it has a subkey
    EXPECT_EQ(registry_.DeleteKey(HkeyLocalMachine, "Software\\Client\\Sub"), winerr::Success);
    EXPECT_EQ(registry_.DeleteKey(HkeyLocalMachine, "Software\\Client"), winerr::Success);
    RegKey key = 0;
    EXPECT_EQ(registry_.OpenKey(HkeyLocalMachine, "Software\\Client", key), winerr::FileNotFound);
    EXPECT_EQ(registry_.KeyPath(HkeyLocalMachine, "Software\\Client\\Sub"), "");
    EXPECT_EQ(registry_.DeleteKey(HkeyLocalMachine, "Software\\Client"), winerr::FileNotFound);
    EXPECT_EQ(Subkeys("Software"), (std::vector<std::string>{"Clientele", "Locked"}));
    // The machine itself still has them.
    EXPECT_EQ(machine_.Registry().KeyPath(HkeyLocalMachine, "Software\\Client\\Sub"),
              "HKEY_LOCAL_MACHINE\\Software\\Client\\Sub");
}

TEST_F(PreviewOverlay, ValuesDeletedAndSetAreSeenByLaterReads) {
    RegKey key = 0;
    ASSERT_EQ(registry_.OpenKey(HkeyLocalMachine, "Software\\Client", key), winerr::Success);
    EXPECT_EQ(registry_.DeleteValue(key, "PATH"), winerr::Success);
    EXPECT_EQ(registry_.DeleteValue(key, "Path"), winerr::FileNotFound);
    EXPECT_EQ(registry_.SetValue(key, "", RegSz, {0}), winerr::Success);
    std::uint32_t type = 0, subkeys = 0, longest = 0, values = 0;
    std::vector<std::uint8_t> data;
    EXPECT_EQ(registry_.QueryValue(key, "Path", type, data), winerr::FileNotFound);
    EXPECT_EQ(registry_.QueryValue(key, "", type, data), winerr::Success);
    ASSERT_EQ(registry_.QueryInfoKey(key, subkeys, longest, values), winerr::Success);
    EXPECT_EQ(values, 2u);  // "Other" and the default
    std::string name;
    EXPECT_EQ(registry_.EnumValue(key, 0, name), winerr::Success);
    EXPECT_EQ(name, "Other");
    registry_.CloseKey(key);
}

TEST_F(PreviewOverlay, AProtectedKeyIsRefusedAsWindowsRefusesIt) {
    RegKey key = 0;
    EXPECT_EQ(registry_.OpenKey(HkeyLocalMachine, "Software\\Locked", key), winerr::AccessDenied);
    EXPECT_EQ(registry_.DeleteKey(HkeyLocalMachine, "Software\\Locked"), winerr::AccessDenied);
}

// Each deletion as Windows would answer it, and what a later listing shows.
TEST_F(PreviewOverlay, AFileIsDeletedOnlyWhereWindowsWouldDeleteIt) {
    const struct {
        const char* path;
        bool folder;
        bool removed;
        long error;
    } cases[] = {
        {"C:\\Client\\a.dll", false, true, winerr::Success},
        {"C:\\Client\\a.dll", false, false, winerr::FileNotFound},
        {"C:\\Client\\held.dll", false, false, winerr::SharingViolation},
        {"C:\\Client\\readme.txt", false, false, winerr::AccessDenied},
        {"C:\\Client\\Data", false, false, winerr::AccessDenied},
        {"C:\\Client\\Data", true, false, winerr::DirNotEmpty},
        {"C:\\Client\\Data\\x.db", false, true, winerr::Success},
        {"C:\\Client\\Data", true, true, winerr::Success},
        {"C:\\Client\\b.dll", true, false, winerr::Directory},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.folder ? files_.RemoveFolder(c.path) : files_.RemoveFile(c.path), c.removed) << c.path;
        EXPECT_EQ(files_.RemoveError(), c.error) << c.path;
    }
    EXPECT_EQ(Listed("C:\\Client\\*"), (std::vector<std::string>{".", "..", "b.dll", "held.dll", "readme.txt"}));
    EXPECT_EQ(files_.GetAttributes("C:\\Client\\a.dll"), NoSuchFile);
    EXPECT_NE(Files().GetAttributes("C:\\Client\\a.dll"), NoSuchFile);
}

TEST_F(PreviewOverlay, AListingPassesOverWhatIsDeletedBeforeItsTurnAndAttributesSetAreSeen) {
    FoundFile entry;
    const FindHandle find = files_.FindFirst("C:\\Client\\*.dll", entry);
    ASSERT_NE(find, NoFind);
    EXPECT_EQ(entry.name, "a.dll");
    EXPECT_TRUE(files_.RemoveFile("C:\\Client\\b.dll"));
    ASSERT_TRUE(files_.FindNext(find, entry));
    EXPECT_EQ(entry.name, "held.dll");
    files_.FindClose(find);
    EXPECT_EQ(files_.SetAttributes("C:\\Client\\readme.txt", 0), winerr::Success);
    EXPECT_EQ(files_.GetAttributes("C:\\Client\\readme.txt") & FileAttrReadOnly, 0u);
    EXPECT_TRUE(files_.RemoveFile("C:\\Client\\readme.txt"));
}

}  // namespace
}  // namespace purgent
