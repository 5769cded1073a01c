#include "files/file_tables.h"

namespace purgent {

// The fast-find indexer writes its fourth file as "ffastun0.ffx"; that name
// is tested and deleted alike, so nothing is deleted blindly.
const OfficeFilesTable& OfficeFiles() {
    static const OfficeFilesTable table{
        {
            R"(<WindowsDrive>:\ffastun.ffa)",
            R"(<WindowsDrive>:\ffastun.ffl)",
            R"(<WindowsDrive>:\ffastun.ffo)",
            R"(<WindowsDrive>:\ffastun0.ffx)",
        },
        {
            {R"(<WindowsDrive>:\)", "wt61*.uwl"},
            {"<WindowsDir>", R"(\wt61*.uwl)"},
            {"<UserProfileFolder>", R"(\wt61*.uwl)"},
        },
        8,
        13,
        R"(\Software\Microsoft\Office\<V>.0\Excel\InstallRoot)",
        "Path",
        "cd",
        {"XLStart", "INICIAR", "XLINICIO", "XLOUVRIR"},
        {R"(<ExcelDir><S>\GWXL97.xla)", R"(<ExcelDir>\<S>\GWXL97.xla)"},
        R"(<WindowsDir>\wpcmapi.ini)",
    };
    return table;
}

}  // namespace purgent
