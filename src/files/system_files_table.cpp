#include "files/file_tables.h"

namespace purgent {

const SystemFilesTable& SystemFiles() {
    static const SystemFilesTable table{
        R"(<WindowsDir>\system\)",
        R"(<WindowsDir>\system32\)",
        {
            "GWMSP1*.DLL",  "GWABL1*.DLL",  "GWABL1*.HLP",  "GWABP1*.DLL",  "GWABS1*.DLL",  "GWENL1*.DLL",
            "GWODM*.DLL",   "GWSHL1*.DLL",  "GWXPP1*.DLL",  "CSTA32.DLL",   "GWAPPINT.INF", "GWCNNDLL.DLL",
            "GWENV1.DLL",   "GWLDN132.DLL", "GWLDO132.DLL", "GWSHLIMP.EXE", "GWSHLSND.EXE", "GWUNINST.DLL",
            "ODMA32.DLL",   "GWABL132.DLL", "GWABP132.dll", "GWABS132.dll", "GWADD1.dll",   "GWMSP132.DLL",
            "GWODM132.DLL", "GWSHLEXT.DLL", "GWXPP132.DLL", "xgbas10.DLL",  "xgab10.DLL",   "xgcal10.DLL",
            "xgdm10.DLL",   "xgmsg10.DLL",  "xis10.DLL",    "xis10.xml",    "GWWWW1.DLL",   "GWXIS10.DLL",
            "GWXIS10.XML",  "GWENVTST.DLL",
        },
        "GWODM",
        {
            R"(<WindowsDir>\Installer\{B9A93A85-1997-4381-8979-4B0BB28AEBC7}\ARPPRODUCTICON.exe)",
            R"(<WindowsDir>\Installer\{B9A93A85-1997-4381-8979-4B0BB28AEBC7}\1033.mst)",
        },
        R"(<WindowsDir>\Installer\{B9A93A85-1997-4381-8979-4B0BB28AEBC7})",
        {
            R"(<WindowsDir>\system\MSXML4.DLL)",
            R"(<WindowsDir>\system\MSXML4a.DLL)",
            R"(<WindowsDir>\system\MSXML4r.DLL)",
        },
        "<GroupWiseDir>",
        "*.*",
        {
            {R"(<GroupWiseDir>GWCheck\)", Forced::No, {R"(<GroupWiseDir>GWCheck)"}, false},
            {R"(<GroupWiseDir>PPForms\)", Forced::Yes, {R"(<GroupWiseDir>PPForms)"}, false},
            {R"(<GroupWiseDir>OFViews\WIN\)", Forced::Yes, {R"(<GroupWiseDir>OFVIEWS\WIN)", R"(<GroupWiseDir>OFViews)"},
             true},
        },
    };
    return table;
}

}  // namespace purgent
