#include "components/component_tables.h"

namespace purgent {

const DllDeregistrationTable& DllCatalogue() {
    static const DllDeregistrationTable table{
        R"(\system32\regsvr32.exe)",
        {"GWABDLG.DLL", "GWMSB1.DLL"},
        {
            {&InstallLocations::GroupWiseDir, "", "*.dll", true, true, true},
            {&InstallLocations::WindowsDir, R"(\system32\)", "gw*.dll", false, false, false},
            {&InstallLocations::WindowsDir, R"(\system\)", "gw*.dll", false, false, false},
        },
    };
    return table;
}

}  // namespace purgent
