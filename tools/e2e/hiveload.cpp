// hiveload.exe <hive-file> <name> [leave]: loads the hive file under
// HKEY_USERS\<name> and unloads it again; fails while the name is taken or the
// file in use. With "leave" the hive stays loaded, as a run killed before its
// unload leaves it (for as long as the machine, or Wine's server, runs).
#include "seed_registry.h"

namespace purgent::e2e {
namespace {

void Load(const std::string& file, const std::string& name) {
    EnablePrivilege("SeRestorePrivilege");
    const LONG loaded = RegLoadKeyA(HKEY_USERS, name.c_str(), file.c_str());
    if (loaded != ERROR_SUCCESS)
        throw HelperError("RegLoadKeyA " + file + " failed with error " + std::to_string(loaded));
}

void LoadAndUnload(const std::string& file, const std::string& name) {
    Load(file, name);
    const LONG unloaded = RegUnLoadKeyA(HKEY_USERS, name.c_str());
    if (unloaded != ERROR_SUCCESS)
        throw HelperError("RegUnLoadKeyA " + name + " failed with error " + std::to_string(unloaded));
}

}  // namespace
}  // namespace purgent::e2e

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[3]) == "leave")
        return purgent::e2e::RunHelper(argc, argv, "hiveload", {"<hive-file>", "<name>", "leave"},
                                       [](char** arguments) { purgent::e2e::Load(arguments[0], arguments[1]); });
    return purgent::e2e::RunHelper(
        argc, argv, "hiveload", {"<hive-file>", "<name>"},
        [](char** arguments) { purgent::e2e::LoadAndUnload(arguments[0], arguments[1]); });
}
