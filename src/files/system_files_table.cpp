#include "files/file_tables.h"

namespace purgent {

const SystemFilesTable& SystemFiles() {
    static const SystemFilesTable table{
        .systemFolder = R"(<WindowsDir>\system\)",
        .system32Folder = R"(<WindowsDir>\system32\)",
        .systemFileNames = {
            "GWMSP1*.DLL",  "GWABL1*.DLL",  "GWABL1*.HLP",  "GWABP1*.DLL",  "GWABS1*.DLL",  "GWENL1*.DLL",
            "GWODM*.DLL",   "GWSHL1*.DLL",  "GWXPP1*.DLL",  "CSTA32.DLL",   "GWAPPINT.INF", "GWCNNDLL.DLL",
            "GWENV1.DLL",   "GWLDN132.DLL", "GWLDO132.DLL", "GWSHLIMP.EXE", "GWSHLSND.EXE", "GWUNINST.DLL",
            "ODMA32.DLL",   "GWABL132.DLL", "GWABP132.dll", "GWABS132.dll", "GWADD1.dll",   "GWMSP132.DLL",
            "GWODM132.DLL", "GWSHLEXT.DLL", "GWXPP132.DLL", "xgbas10.DLL",  "xgab10.DLL",   "xgcal10.DLL",
            "xgdm10.DLL",   "xgmsg10.DLL",  "xis10.DLL",    "xis10.xml",    "GWWWW1.DLL",   "GWXIS10.DLL",
            "GWXIS10.XML",  "GWENVTST.DLL",
        },
        .wordIntegration = "GWODM",
        .installerCacheFiles = {
            R"(<WindowsDir>\Installer\{B9A93A85-1997-4381-8979-4B0BB28AEBC7}\ARPPRODUCTICON.exe)",
            R"(<WindowsDir>\Installer\{B9A93A85-1997-4381-8979-4B0BB28AEBC7}\1033.mst)",
        },
        .installerCacheFolder = R"(<WindowsDir>\Installer\{B9A93A85-1997-4381-8979-4B0BB28AEBC7})",
        .webServicesFiles = {
            R"(<WindowsDir>\system\MSXML4.DLL)",
            R"(<WindowsDir>\system\MSXML4a.DLL)",
            R"(<WindowsDir>\system\MSXML4r.DLL)",
        },
        .programFolder = "<GroupWiseDir>",
        .programFolderPattern = "*.*",
        .programSubfolders = {
            {.purged = R"(<GroupWiseDir>GWCheck\)", .forced = Forced::No,
             .removed = {R"(<GroupWiseDir>GWCheck)"}, .thenProgramFolder = false},
            {.purged = R"(<GroupWiseDir>PPForms\)", .forced = Forced::Yes,
             .removed = {R"(<GroupWiseDir>PPForms)"}, .thenProgramFolder = false},
            {.purged = R"(<GroupWiseDir>OFViews\WIN\)", .forced = Forced::Yes,
             .removed = {R"(<GroupWiseDir>OFVIEWS\WIN)", R"(<GroupWiseDir>OFViews)"},
             .thenProgramFolder = true},
        },
    };
    return table;
}

}  // namespace purgent
