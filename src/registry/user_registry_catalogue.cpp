#include "registry/user_registry_catalogue.h"

namespace purgent {

namespace {

const char* const UserKeyTrees[] = {
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
};

const char* const Msxml2Assemblies = "\\Software\\Microsoft\\Installer\\Win32Assemblies\\Global";
const char* const Msxml2Value =
    "Microsoft.MSXML2,publicKeyToken=\"6bd6b9abf345378f\",version=\"4.1.0.0\",type=\"win32\",processorArchitecture=\"x86\"";
const char* const Msxml2RValue =
    "Microsoft.MSXML2R,publicKeyToken=\"6bd6b9abf345378f\",version=\"4.1.0.0\",type=\"win32\",processorArchitecture=\"x86\"";

const char* const HandoffPriorities =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Telephony\\HandoffPriorities";

const char* const MessagingProfiles[] = {
    "\\Software\\MicroSoft\\Windows Messaging SubSystem\\Profiles",
    "\\Software\\MicroSoft\\Windows NT\\CurrentVersion\\Windows Messaging SubSystem\\Profiles",
};
const char* const NovellDefaultSettings = "\\Novell Default Settings";

const char* const FileExts = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";
const char* const OpenWithExtensions[] = {".CSV", ".doc", ".jpg", ".log", ".scn", ".small", ".txt"};

const char* const GroupWiseSettings = "\\Software\\Novell\\GroupWise";
const char* const SpellChecker = "\\Software\\Novell\\Spell Checker";
const char* const UserWordList = "\\Software\\Novell\\User Word List";

// Relative deletes run only inside a key that really opened: against a
// fallback base they would hit an unrelated key of the same name.
void DeleteSoundEvents(RegistryAccess& registry, const std::string& prefix) {
    if (registry.OpenKey(prefix + "\\AppEvents\\EventLabels")) registry.DeleteKey("NGD_Ringin");
    registry.CloseKey();
    if (registry.OpenKey(prefix + "\\AppEvents\\Schemes\\Apps")) {
        registry.DeleteKey("ConvPlace\\NGD_Ringin");
        registry.DeleteKey("ConvPlace");
    }
    registry.CloseKey();
}

void DeleteMsxmlAssemblies(RegistryAccess& registry, const std::string& prefix) {
    if (!registry.OpenKey(prefix + Msxml2Assemblies)) return;
    if (registry.ValueExists(Msxml2Value)) {
        registry.DeleteValue(Msxml2Value);
        registry.DeleteValue(Msxml2RValue);
    }
    registry.CloseKey();
}

void DeleteHandoff(RunContext& ctx, const std::string& path) {
    if (!ctx.registry.OpenKey(path)) return;
    DeleteGroupWiseHandoff(ctx.registry, ctx.platform.text);
    ctx.registry.CloseKey();
}

void DeleteNovellDefaultSettings(RegistryAccess& registry, const std::string& prefix) {
    const std::string a = prefix + MessagingProfiles[0] + NovellDefaultSettings;
    const std::string b = prefix + MessagingProfiles[1] + NovellDefaultSettings;
    if (!registry.OpenKey(a) && !registry.OpenKey(b)) {
        registry.CloseKey();
        return;
    }
    for (const std::string& name : registry.GetKeyNames()) registry.DeleteKey(name);
    registry.CloseKey();
    for (const std::string& profile : {a, b}) {
        if (registry.OpenKey(profile)) {
            registry.CloseKey();
            registry.DeleteKey(profile);
        }
    }
    registry.CloseKey();
}

void ResetDefaultProfiles(RegistryAccess& registry, const std::string& prefix) {
    for (const char* profiles : MessagingProfiles) {
        const std::string path = prefix + profiles;
        if (!registry.OpenKey(path)) continue;
        if (registry.ReadString("DefaultProfile").find("Novell") != std::string::npos)
            registry.WriteString("DefaultProfile", "");
        if (registry.KeyExists(path + "\\Outlook")) registry.WriteString("DefaultProfile", "Outlook");
        registry.CloseKey();
    }
}

void DeleteOpenWithEntries(RegistryAccess& registry, const std::string& prefix) {
    for (const char* extension : OpenWithExtensions) {
        if (!registry.OpenKey(prefix + FileExts + extension + "\\OpenWithList")) continue;
        for (const std::string& name : registry.GetValueNames())
            if (registry.ReadString(name) == "GrpWise.exe") registry.DeleteValue(name);
        registry.CloseKey();
    }
}

void CleanOneUser(RunContext& ctx) {
    RegistryAccess& registry = ctx.registry;
    const std::string prefix = registry.HivePrefix();
    DeleteSoundEvents(registry, prefix);
    for (const char* path : UserKeyTrees) registry.DeleteKeyTree(prefix + path);
    DeleteMsxmlAssemblies(registry, prefix);
    DeleteHandoff(ctx, prefix + HandoffPriorities);
    DeleteNovellDefaultSettings(registry, prefix);
    ResetDefaultProfiles(registry, prefix);
    DeleteOpenWithEntries(registry, prefix);
    registry.DeleteKeyTree(prefix + GroupWiseSettings);
    registry.DeleteKeyTree(prefix + SpellChecker);
    if (ctx.Checked(Option::WritingTools)) registry.DeleteKeyTree(prefix + UserWordList);
}

}  // namespace

void DeleteGroupWiseHandoff(RegistryAccess& registry, TextService& text) {
    if (!registry.ValueExists("RequestMakeCall")) return;
    if (text.UpperCase(registry.ReadString("RequestMakeCall")).find("GROUPWISE") != std::string::npos)
        registry.DeleteValue("RequestMakeCall");
}

void CleanUserRegistry(RunContext& ctx) {
    RegistryAccess& registry = ctx.registry;
    registry.UserHivePass(ctx.locations.WindowsDrive, ctx.profiles, ctx.profileSids, [&ctx] { CleanOneUser(ctx); });

    registry.SetRootKey(HkeyUsers);
    DeleteHandoff(ctx, "\\.DEFAULT" + std::string(HandoffPriorities));
    registry.DeleteKeyTree("\\.DEFAULT" + std::string(GroupWiseSettings));
}

}  // namespace purgent
