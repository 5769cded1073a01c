#include "files/file_tables.h"

namespace purgent {

// The fast-find indexer writes its fourth file as "ffastun0.ffx"; that name
// is tested and deleted alike, so nothing is deleted blindly.
const OfficeFilesTable& OfficeFiles() {
    static const OfficeFilesTable table{
        .fastFindFiles = {
            R"(<WindowsDrive>:\ffastun.ffa)",
            R"(<WindowsDrive>:\ffastun.ffl)",
            R"(<WindowsDrive>:\ffastun.ffo)",
            R"(<WindowsDrive>:\ffastun0.ffx)",
        },
        .writingToolsPurges = {
            {.folder = R"(<WindowsDrive>:\)", .pattern = "wt61*.uwl"},
            {.folder = "<WindowsDir>", .pattern = R"(\wt61*.uwl)"},
            {.folder = "<UserProfileFolder>", .pattern = R"(\wt61*.uwl)"},
        },
        .firstOfficeVersion = 8,
        .lastOfficeVersion = 13,
        .excelInstallRoot = R"(\Software\Microsoft\Office\<V>.0\Excel\InstallRoot)",
        .excelPathValue = "Path",
        .excelDrives = "cd",
        .excelStartupFolders = {"XLStart", "INICIAR", "XLINICIO", "XLOUVRIR"},
        .addInCandidates = {R"(<ExcelDir><S>\GWXL97.xla)", R"(<ExcelDir>\<S>\GWXL97.xla)"},
        .odmaSettings = R"(<WindowsDir>\wpcmapi.ini)",
    };
    return table;
}

}  // namespace purgent
