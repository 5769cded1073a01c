#include "registry/user_registry_catalogue.h"

#include "registry/user_registry_table.h"

namespace purgent {

namespace {

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
    const UserRegistryTable& t = UserRegistry();
    if (!registry.OpenKey(prefix + t.msxmlAssemblies)) return;
    if (registry.ValueExists(t.msxmlValue)) {
        registry.DeleteValue(t.msxmlValue);
        registry.DeleteValue(t.msxmlResourceValue);
    }
    registry.CloseKey();
}

void DeleteHandoff(RunContext& ctx, const std::string& path) {
    if (!ctx.registry.OpenKey(path)) return;
    DeleteGroupWiseHandoff(ctx.registry, ctx.platform.text);
    ctx.registry.CloseKey();
}

void DeleteNovellDefaultSettings(RegistryAccess& registry, const std::string& prefix) {
    const UserRegistryTable& t = UserRegistry();
    const std::string a = prefix + t.messagingProfiles[0] + t.novellDefaultSettings;
    const std::string b = prefix + t.messagingProfiles[1] + t.novellDefaultSettings;
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
    const UserRegistryTable& t = UserRegistry();
    for (const std::string& profiles : t.messagingProfiles) {
        const std::string path = prefix + profiles;
        if (!registry.OpenKey(path)) continue;
        if (registry.ReadString("DefaultProfile").find("Novell") != std::string::npos)
            registry.WriteString("DefaultProfile", "");
        if (registry.KeyExists(path + "\\Outlook")) registry.WriteString("DefaultProfile", "Outlook");
        registry.CloseKey();
    }
}

void DeleteOpenWithEntries(RegistryAccess& registry, const std::string& prefix) {
    const UserRegistryTable& t = UserRegistry();
    for (const std::string& extension : t.openWithExtensions) {
        if (!registry.OpenKey(prefix + t.fileExts + extension + "\\OpenWithList")) continue;
        for (const std::string& name : registry.GetValueNames())
            if (registry.ReadString(name) == "GrpWise.exe") registry.DeleteValue(name);
        registry.CloseKey();
    }
}

void CleanOneUser(RunContext& ctx) {
    const UserRegistryTable& t = UserRegistry();
    RegistryAccess& registry = ctx.registry;
    const std::string prefix = registry.HivePrefix();
    DeleteSoundEvents(registry, prefix);
    for (const std::string& path : t.keyTrees) registry.DeleteKeyTree(prefix + path);
    DeleteMsxmlAssemblies(registry, prefix);
    DeleteHandoff(ctx, prefix + t.handoffPriorities);
    DeleteNovellDefaultSettings(registry, prefix);
    ResetDefaultProfiles(registry, prefix);
    DeleteOpenWithEntries(registry, prefix);
    registry.DeleteKeyTree(prefix + t.groupWiseSettings);
    registry.DeleteKeyTree(prefix + t.spellChecker);
    if (ctx.Checked(Option::WritingTools)) registry.DeleteKeyTree(prefix + t.userWordList);
}

}  // namespace

void DeleteGroupWiseHandoff(RegistryAccess& registry, TextService& text) {
    if (!registry.ValueExists("RequestMakeCall")) return;
    if (text.UpperCase(registry.ReadString("RequestMakeCall")).find("GROUPWISE") != std::string::npos)
        registry.DeleteValue("RequestMakeCall");
}

void CleanUserRegistry(RunContext& ctx) {
    RegistryAccess& registry = ctx.registry;
    registry.UserHivePass(ctx.profileFolders, ctx.profileSids, [&ctx] { CleanOneUser(ctx); });

    registry.SetRootKey(HkeyUsers);
    DeleteHandoff(ctx, "\\.DEFAULT" + UserRegistry().handoffPriorities);
    registry.DeleteKeyTree("\\.DEFAULT" + UserRegistry().groupWiseSettings);
}

}  // namespace purgent
