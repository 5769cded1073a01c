#include "components/component_tables.h"

namespace purgent {

const DllDeregistrationTable& DllCatalogue() {
    static const DllDeregistrationTable table{
        .regSvr = R"(\system32\regsvr32.exe)",
        .exclusions = {"GWABDLG.DLL", "GWMSB1.DLL"},
        .clientPasses = {
            {.base = &InstallLocations::GroupWiseDir, .subfolder = "", .pattern = "*.dll",
             .countedFirst = true, .ownFolderOnly = true, .withExclusions = true},
            {.base = &InstallLocations::WindowsDir, .subfolder = R"(\system32\)", .pattern = "gw*.dll",
             .countedFirst = false, .ownFolderOnly = false, .withExclusions = false},
            {.base = &InstallLocations::WindowsDir, .subfolder = R"(\system\)", .pattern = "gw*.dll",
             .countedFirst = false, .ownFolderOnly = false, .withExclusions = false},
        },
    };
    return table;
}

}  // namespace purgent
