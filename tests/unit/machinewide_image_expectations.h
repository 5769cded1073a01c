#pragma once
// What a run with "/sn /km /rws" must leave of the machine-wide footprint in
// tests/data/machinewide: the client's keys and values gone, its handler
// defaults emptied, every other key and value of the image unchanged byte for
// byte. Shared by the simulator test and the Wine test.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "image/ansi_text.h"
#include "image/machine_image.h"

namespace purgent::machinewide {

inline const std::vector<std::string> kPurgentArgs = {"/sn", "/km", "/rws"};

const std::string kClasses = R"(HKEY_LOCAL_MACHINE\SOFTWARE\Classes\)";
const std::string kWindows = R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\)";
const std::string kUserData = kWindows + R"(Installer\UserData\)";

inline std::vector<std::string> GoneTrees() {
    std::vector<std::string> trees = {
        kWindows + R"(App Management\ARPCache\GroupWiseUninstallKey)",
        kWindows + R"(App Management\ARPCache\GWTIP)",
        kWindows + R"(App Paths\GrpWise.exe)",
        kWindows + R"(App Paths\ADDRBOOK.EXE)",
        kWindows + R"(Installer\UpgradeCodes\7090B36299023AC48902BDC961E152BA)",
        kUserData + R"(S-1-5-18\Products\4534E8807F21A7143B694F41E70C5870)",
        kUserData + R"(S-1-5-18\Products\96C870DFC415EFB4B814255E25456303)",
        kUserData + R"(S-1-5-18\Products\58A39A9B799118349897B4B02BA8BE7C)",
        kUserData + R"(S-1-5-18\Components\1B0D9A2C3E4F5A6B7C8D9E0F1A2B3C4D)",
        kUserData + R"(S-1-5-18\Components\02E53555536F37F489E277B9CE7F9ACC)",
        kUserData + R"(S-1-5-18\Components\0511BD06EBDFDC045AB9B0B55E18EB54)",
        kUserData + R"(S-1-5-18\Components\8AE32CC33690E3049B7DEF053DF7ABB9)",
        kUserData +
            R"(S-1-5-21-1957994488-1482476501-1644491937-1003\Products\96C870DFC415EFB4B814255E25456303)",
        kUserData +
            R"(S-1-5-21-1957994488-1482476501-1644491937-1003\Components\4E3A2D5F6A7B8C9D0E1F2A3B4C5D6E7F)",
        kWindows + R"(Uninstall\GroupWiseUninstallKey)",
        kWindows + R"(Uninstall\{FD078C69-514C-4BFE-8B41-52E552543630})",
        kWindows + R"(Uninstall\{B9A93A85-1997-4381-8979-4B0BB28AEBC7})",
        kWindows + R"(Uninstall\GWTIP)",
        kWindows + R"(ModuleUsage\C:/WINNT/System32/msxml4.dll)",
        R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Code Store Database\Distribution Units\{88D969C0-F192-11D4-A65F-0040963251E5})",
        R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\Help\gwcma1us.dll)",
        R"(HKEY_LOCAL_MACHINE\SOFTWARE\Novell\GroupWise)",
        R"(HKEY_LOCAL_MACHINE\SOFTWARE\Novell\GroupWise 5.5)",
        R"(HKEY_LOCAL_MACHINE\SOFTWARE\Clients\Mail\GroupWise)",
        R"(HKEY_LOCAL_MACHINE\SOFTWARE\Clients\News\GroupWise)",
    };
    for (const char* name : {".gwf",
                             ".nab",
                             ".vew",
                             "Abdlg.GWAddrBookDlgMgr",
                             "Abdlg.GWAddrBookDlgMgr.1",
                             R"(Applications\GrpWise.exe)",
                             R"(CLSID\{AE76A112-7011-4A2B-8F45-4D60CD11C7EB})",
                             R"(CLSID\{C00BD7C2-38C4-4816-A4DA-9EF6FCACF928})",
                             R"(CLSID\{4D4998C1-13FF-46D0-9B4A-782D3C49E248})",
                             R"(CLSID\{4DB969E0-5979-11CE-82A6-00608CBB7395})",
                             R"(CLSID\{00020D31-0000-0000-C000-000000000046})",
                             R"(CLSID\{88d969c0-f192-11d4-a65f-0040963251e5})",
                             R"(Component Categories\{7DD95801-9882-11CF-9FA9-00AA006C42C4})",
                             "GroupWise5",
                             R"(Interface\{025B5FE2-7049-11CF-A6B0-00608C85AA11})",
                             R"(Interface\{7D2267E2-E158-11CE-87EB-00805FB4B2BE})",
                             R"(Interface\{A1963027-5941-4251-9D7D-1266BFD2213D})",
                             R"(Interface\{2933BF80-7B36-11D2-B20E-00C04F983E60})",
                             "Msxml2.DOMDocument.4.0",
                             "Novell.GroupWise.FreeBusySupport",
                             "Novell.GroupWise.FreeBusySupport.1",
                             "NovellGroupWareAddressBook.vCard",
                             "NovellGroupWareSession",
                             R"(ODMA32\GRPWISE)",
                             R"(Software\Novell\GroupWise)",
                             R"(TypeLib\{025B5FE0-7049-11cf-A6B0-00608C85AA11})",
                             "WritingTools",
                             R"(Installer\Features\96C870DFC415EFB4B814255E25456303)",
                             R"(Installer\Products\96C870DFC415EFB4B814255E25456303)",
                             R"(Installer\Products\58A39A9B799118349897B4B02BA8BE7C)",
                             R"(Installer\UpgradeCodes\7090B36299023AC48902BDC961E152BA)"})
        trees.push_back(kClasses + name);
    return trees;
}

using ValueRef = std::pair<std::string, std::string>;  // key path, value name

inline std::vector<ValueRef> GoneValues() {
    const std::string folders = kWindows + R"(Installer\Folders)";
    const std::string sharedDlls = kWindows + "SharedDLLs";
    const std::string mapi =
        R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows Messaging Subsystem\MSMapiApps)";
    const std::string assemblies = kClasses + R"(Installer\Win32Assemblies\Global)";
    const std::string identity =
        R"(,publicKeyToken="6bd6b9abf345378f",version="4.1.0.0",type="win32",processorArchitecture="x86")";
    return {
        {folders, R"(C:\Novell\GroupWise\)"},
        {folders, R"(C:\Novell\GroupWise\GWCheck\)"},
        {folders, R"(C:\Novell\GroupWise\OFViews\win\)"},
        {folders, R"(C:\Documents and Settings\kim\Start Menu\Programs\Novell GroupWise\)"},
        {folders, R"(C:\Config.Msi\{B9A93A85-1997-4381-8979-4B0BB28AEBC7}\)"},
        {kUserData + R"(S-1-5-18\Components\FFD08B3645DC698409FEC1E31F144EC6)",
         "58A39A9B799118349897B4B02BA8BE7C"},
        // Shared with another product: only the client's value goes.
        {kUserData + R"(S-1-5-18\Components\2C1E0B3D4F5A6B7C8D9E0F1A2B3C4D5E)",
         "96C870DFC415EFB4B814255E25456303"},
        {sharedDlls, R"(C:\WINDOWS\system32\GWENV1.DLL)"},
        {sharedDlls, R"(C:\Novell\GroupWise\gwcma1.dll)"},
        {sharedDlls, R"(C:\Program Files\Common Files\Corel\WT\wt9spl.dll)"},
        {sharedDlls, R"(C:\WINDOWS\system32\msxml4.dll)"},
        {R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\Help)", "gwnfy1us.hlp"},
        {mapi, "grpwise.exe"},
        {mapi, "gwcma1.dll"},
        {R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Office\11.0\Outlook\SchedulingInformation\FreeBusySupport)",
         "NGW"},
        {assemblies, "Microsoft.MSXML2" + identity},
        {assemblies, "Microsoft.MSXML2R" + identity},
    };
}

inline std::vector<std::string> BlankedDefaults() {
    return {kClasses + ".vcf",
            kClasses + R"(Mailto\DefaultIcon)",
            kClasses + R"(Mailto\shell\open\command)",
            kClasses + R"(nntp\DefaultIcon)",
            kClasses + R"(nntp\shell\open\command)",
            R"(HKEY_LOCAL_MACHINE\SOFTWARE\Clients\News)"};
}

inline bool Within(const std::string& path, const std::string& tree) {
    return image::EqualsIgnoreCase(path, tree) ||
           (path.size() > tree.size() && path[tree.size()] == '\\' &&
            image::EqualsIgnoreCase(path.substr(0, tree.size()), tree));
}

template <typename Match>
bool AnyOf(const std::vector<std::string>& list, Match match) {
    for (const std::string& entry : list)
        if (match(entry)) return true;
    return false;
}

// Checks the cleaned registry against the seeded one, key by key and value by
// value as the image lists them (implied parent keys are not the image's).
inline void ExpectCleaned(const image::RegistryKeys& seeded, const image::RegistryKeys& cleaned,
                          const std::string& who) {
    const std::vector<std::string> goneTrees = GoneTrees();
    const std::vector<ValueRef> goneValues = GoneValues();
    const std::vector<std::string> blanked = BlankedDefaults();
    for (const image::RegistryKey& key : seeded) {
        const image::RegistryKey* now = image::FindKey(cleaned, key.path);
        if (AnyOf(goneTrees, [&](const std::string& tree) { return Within(key.path, tree); })) {
            EXPECT_EQ(now, nullptr) << who << ": trace left: " << key.path;
            continue;
        }
        ASSERT_NE(now, nullptr) << who << ": lost " << key.path;
        for (const image::RegistryValue& value : key.values) {
            const image::RegistryValue* after = image::FindValue(*now, value.name);
            const bool gone = std::any_of(goneValues.begin(), goneValues.end(), [&](const ValueRef& ref) {
                return image::EqualsIgnoreCase(ref.first, key.path) &&
                       image::EqualsIgnoreCase(ref.second, value.name);
            });
            const std::string where = who + ": " + key.path + " [" + value.name + "]";
            if (gone) {
                EXPECT_EQ(after, nullptr) << where;
                continue;
            }
            ASSERT_NE(after, nullptr) << where << " lost";
            if (value.name.empty() &&
                AnyOf(blanked, [&](const std::string& k) { return image::EqualsIgnoreCase(k, key.path); })) {
                EXPECT_EQ(after->type, 1u) << where;
                EXPECT_EQ(after->data, image::Bytes{0}) << where;
                continue;
            }
            EXPECT_EQ(after->type, value.type) << where;
            EXPECT_EQ(after->data, value.data) << where;
        }
    }
}

}  // namespace purgent::machinewide
