// hiveload.exe <hive-file> <name>: loads the hive file under HKEY_USERS\<name>
// and unloads it again; fails while the name is taken or the file in use.
#include "seed_registry.h"

namespace purgent::e2e {
namespace {

void LoadAndUnload(const std::string& file, const std::string& name) {
    EnablePrivilege("SeRestorePrivilege");
    const LONG loaded = RegLoadKeyA(HKEY_USERS, name.c_str(), file.c_str());
    if (loaded != ERROR_SUCCESS)
        throw HelperError("RegLoadKeyA " + file + " failed with error " + std::to_string(loaded));
    const LONG unloaded = RegUnLoadKeyA(HKEY_USERS, name.c_str());
    if (unloaded != ERROR_SUCCESS)
        throw HelperError("RegUnLoadKeyA " + name + " failed with error " + std::to_string(unloaded));
}

}  // namespace
}  // namespace purgent::e2e

int main(int argc, char** argv) {
    return purgent::e2e::RunHelper(
        argc, argv, "hiveload", {"<hive-file>", "<name>"},
        [](char** arguments) { purgent::e2e::LoadAndUnload(arguments[0], arguments[1]); });
}
