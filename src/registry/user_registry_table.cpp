#include "registry/user_registry_table.h"

namespace purgent {

const UserRegistryTable& UserRegistry() {
    static const UserRegistryTable table{
        .keyTrees = {
            "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.vew",
            "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs\\Novell GroupWise",
            "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs\\GroupWise 5",
            "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs\\GroupWise",
            "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs\\Novell GroupWise",
            "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs\\GroupWise 5",
            "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs\\GroupWise",
            "\\Software\\Microsoft\\Installer\\Features\\96C870DFC415EFB4B814255E25456303",
            "\\Software\\Microsoft\\Installer\\Products\\96C870DFC415EFB4B814255E25456303",
            "\\Software\\Microsoft\\Installer\\UpgradeCodes\\7090B36299023AC48902BDC961E152BA",
            "\\Software\\MicroSoft\\Windows Messaging SubSystem\\Profiles\\Novell GroupWise",
            "\\Software\\MicroSoft\\Windows NT\\CurrentVersion\\Windows Messaging SubSystem\\Profiles\\Novell GroupWise",
        },
        .msxmlAssemblies = "\\Software\\Microsoft\\Installer\\Win32Assemblies\\Global",
        .msxmlValue = "Microsoft.MSXML2,publicKeyToken=\"6bd6b9abf345378f\",version=\"4.1.0.0\",type=\"win32\","
                      "processorArchitecture=\"x86\"",
        .msxmlResourceValue = "Microsoft.MSXML2R,publicKeyToken=\"6bd6b9abf345378f\",version=\"4.1.0.0\","
                              "type=\"win32\",processorArchitecture=\"x86\"",
        .handoffPriorities = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Telephony\\HandoffPriorities",
        .messagingProfiles = {
            "\\Software\\MicroSoft\\Windows Messaging SubSystem\\Profiles",
            "\\Software\\MicroSoft\\Windows NT\\CurrentVersion\\Windows Messaging SubSystem\\Profiles",
        },
        .novellDefaultSettings = "\\Novell Default Settings",
        .fileExts = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\",
        .openWithExtensions = {".CSV", ".doc", ".jpg", ".log", ".scn", ".small", ".txt"},
        .groupWiseSettings = "\\Software\\Novell\\GroupWise",
        .spellChecker = "\\Software\\Novell\\Spell Checker",
        .userWordList = "\\Software\\Novell\\User Word List",
    };
    return table;
}

}  // namespace purgent
