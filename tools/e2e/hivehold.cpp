// hivehold.exe <hive-file> <name> <ready-file> <release-file>: keeps a hive
// loaded under HKEY_USERS\<name>, as Windows keeps a logged-on user's, from
// writing <ready-file> until <release-file> appears. Then it writes the hive
// back to its file and unloads it; status 3 when the hive is no longer loaded.
#include <chrono>
#include <thread>

#include "seed_registry.h"

namespace purgent::e2e {
namespace {

constexpr int kHoldSeconds = 300;

void WaitForFile(const std::string& path) {
    for (int waited = 0; !PathExists(path); ++waited) {
        if (waited == kHoldSeconds * 10) throw HelperError("no " + path + " within " + std::to_string(kHoldSeconds) + " s");
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

bool StillLoaded(const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_USERS, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Wine drops what was written into a loaded hive when it is unloaded, so the
// hive is saved beside its file first and replaces it afterwards.
void SaveAndUnload(const std::string& file, const std::string& name) {
    const std::string saved = file + ".held";
    DeleteFileA(saved.c_str());
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_USERS, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        throw HelperError("cannot open HKEY_USERS\\" + name);
    const LONG written = RegSaveKeyA(key, saved.c_str(), nullptr);
    RegCloseKey(key);
    if (written != ERROR_SUCCESS) throw HelperError("RegSaveKeyA failed with error " + std::to_string(written));
    const LONG unloaded = RegUnLoadKeyA(HKEY_USERS, name.c_str());
    if (unloaded != ERROR_SUCCESS) throw HelperError("RegUnLoadKeyA failed with error " + std::to_string(unloaded));
    if (!MoveFileExA(saved.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING))
        throw HelperError("cannot replace " + file);
}

int Hold(char** arguments) {
    const std::string file = arguments[0], name = arguments[1];
    EnablePrivilege("SeRestorePrivilege");
    EnablePrivilege("SeBackupPrivilege");
    const LONG loaded = RegLoadKeyA(HKEY_USERS, name.c_str(), file.c_str());
    if (loaded != ERROR_SUCCESS) throw HelperError("RegLoadKeyA " + file + " failed with error " + std::to_string(loaded));
    WriteWholeFile(arguments[2], {});
    WaitForFile(arguments[3]);
    if (!StillLoaded(name)) return 3;
    SaveAndUnload(file, name);
    return 0;
}

}  // namespace
}  // namespace purgent::e2e

int main(int argc, char** argv) {
    int status = 0;
    const int helper = purgent::e2e::RunHelper(argc, argv, "hivehold",
                                               {"<hive-file>", "<name>", "<ready-file>", "<release-file>"},
                                               [&status](char** arguments) { status = purgent::e2e::Hold(arguments); });
    return helper != 0 ? helper : status;
}
