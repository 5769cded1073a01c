// seed.exe <image-dir>: makes the machine it runs on look like the machine image.
//   registry.reg is written through the registry API ([-KEY] deletes);
//   drive/<LETTER>/... is copied to <LETTER>:\ ;
//   every ntuser.dat becomes a hive file holding its .reg text's keys;
//   [registry-link] keys are made as links (REG_OPTION_CREATE_LINK), a hive
//   file's inside its hive;
//   the file of each [dll] section is replaced by comserver.dll (beside
//   seed.exe) and registered with the system's regsvr32;
//   each [denied] key is created if needed and left readable only;
//   [attributes] are set last.
// Files of [locked] are not held open: that needs a process that outlives
// the seeding, which the tests needing it start themselves.
#include "image/ansi_text.h"
#include "image/machine_image.h"
#include "seed_registry.h"
// After windows.h, which it needs.
#include <sddl.h>

namespace purgent::e2e {
namespace {

const char* const kHiveBuildKey = "PurgentSeedHive";

// Where a hive's key (written under HKEY_CURRENT_USER) is built.
KeyLocation InBuildKey(const std::string& path) {
    return {HKEY_CURRENT_USER, kHiveBuildKey + path.substr(std::string("HKEY_CURRENT_USER").size())};
}

// Builds the hive's keys and links under HKEY_CURRENT_USER\PurgentSeedHive
// and saves that key as the hive file.
void WriteHiveFile(const image::DriveItem& item, const std::vector<image::RegistryLink>& links) {
    const image::RegistryKeys keys = image::ParseHiveText(item.contents, item.path);
    const KeyLocation buildKey{HKEY_CURRENT_USER, kHiveBuildKey};
    DeleteKeyTree(buildKey);
    HKEY created = nullptr;
    if (RegCreateKeyExA(buildKey.root, buildKey.subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created,
                        nullptr) != ERROR_SUCCESS)
        throw HelperError("cannot create HKEY_CURRENT_USER\\" + buildKey.subKey);
    ApplyRegistryKeys(keys, InBuildKey);
    for (const image::RegistryLink& link : links)
        if (image::EqualsIgnoreCase(link.hive, item.path)) CreateLink(InBuildKey(link.key), link.target);
    if (PathExists(item.path)) {
        SetFileAttributesA(item.path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(item.path.c_str());
    }
    const LONG status = RegSaveKeyA(created, item.path.c_str(), nullptr);
    RegCloseKey(created);
    DeleteKeyTree(buildKey);
    if (status != ERROR_SUCCESS)
        throw HelperError("RegSaveKeyA " + item.path + " failed with error " + std::to_string(status));
}

void CopyDriveItem(const image::DriveItem& item, const std::vector<image::RegistryLink>& links) {
    if (item.folder) return CreateFolders(item.path);
    CreateFolders(item.path.substr(0, item.path.rfind('\\')));
    if (image::IsHiveFile(item)) WriteHiveFile(item, links);
    else WriteWholeFile(item.path, item.contents);
}

std::string OwnFolder() {
    char path[MAX_PATH];
    const std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return self.substr(0, self.rfind('\\'));
}

// Runs a program to its end; its exit status.
DWORD RunAndWait(const std::string& commandLine) {
    std::string line = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        throw HelperError("cannot start " + commandLine);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status;
}

// The DLL a [dll] section names becomes a copy of the test COM server,
// registered the way an installer registers it.
void RegisterDll(const image::DllEntry& dll) {
    if (!CopyFileA((OwnFolder() + "\\comserver.dll").c_str(), dll.path.c_str(), FALSE))
        throw HelperError("cannot copy comserver.dll to " + dll.path);
    char system[MAX_PATH];
    const std::string regsvr = std::string(system, GetSystemDirectoryA(system, MAX_PATH)) + "\\regsvr32.exe";
    if (const DWORD status = RunAndWait(regsvr + " /s \"" + dll.path + "\""))
        throw HelperError("regsvr32 " + dll.path + " failed with status " + std::to_string(status));
}

// Everyone may read the key, nobody may change or delete it: opening it with
// full access fails, as for a key an administrator protected.
void DenyKey(const std::string& path) {
    const KeyLocation location = LocateKey(path);
    HKEY key = nullptr;
    if (RegCreateKeyExA(location.root, location.subKey.c_str(), 0, nullptr, 0, WRITE_DAC, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw HelperError("cannot open " + path + " to protect it");
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    const bool built = ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                                            &readOnly, nullptr);
    const LONG status = built ? RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly) : ERROR_INVALID_DATA;
    if (readOnly) LocalFree(readOnly);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) throw HelperError("cannot protect " + path + ": error " + std::to_string(status));
}

void Seed(const std::string& imageDir) {
    const image::MachineImage machine = image::LoadMachineImage(imageDir);
    EnablePrivilege("SeBackupPrivilege");
    ApplyRegistryKeys(machine.registry, LocateKey);
    const std::vector<image::RegistryLink>& links = machine.machine.registryLinks;
    for (const image::RegistryLink& link : links)
        if (link.hive.empty()) CreateLink(LocateKey(link.key), link.target);
    for (const image::DriveItem& item : machine.drive) CopyDriveItem(item, links);
    for (const image::DllEntry& dll : machine.machine.dlls) RegisterDll(dll);
    for (const std::string& key : machine.machine.denied) DenyKey(key);
    for (const image::FileAttributes& entry : machine.machine.attributes)
        if (!SetFileAttributesA(entry.path.c_str(), entry.attributes ? entry.attributes : FILE_ATTRIBUTE_NORMAL))
            throw HelperError("cannot set the attributes of " + entry.path);
}

}  // namespace
}  // namespace purgent::e2e

int main(int argc, char** argv) {
    return purgent::e2e::RunHelper(argc, argv, "seed", {"<image-dir>"},
                                   [](char** arguments) { purgent::e2e::Seed(arguments[0]); });
}
