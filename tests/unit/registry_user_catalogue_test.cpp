#include <gtest/gtest.h>

#include "run/errors.h"
#include "registry/user_registry_catalogue.h"
#include "discovery/profile_discovery.h"
#include "registry_test_machine.h"

namespace purgent::testing {
namespace {

const std::string Cu = "HKEY_CURRENT_USER";
const std::string Messaging = "\\Software\\MicroSoft\\Windows Messaging SubSystem\\Profiles";
const std::string NtMessaging = "\\Software\\MicroSoft\\Windows NT\\CurrentVersion\\Windows Messaging SubSystem\\Profiles";
const std::string Handoff = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Telephony\\HandoffPriorities";
const std::string Msxml =
    "Microsoft.MSXML2,publicKeyToken=\\\"6bd6b9abf345378f\\\",version=\\\"4.1.0.0\\\",type=\\\"win32\\\","
    "processorArchitecture=\\\"x86\\\"";
const std::string MsxmlR =
    "Microsoft.MSXML2R,publicKeyToken=\\\"6bd6b9abf345378f\\\",version=\\\"4.1.0.0\\\",type=\\\"win32\\\","
    "processorArchitecture=\\\"x86\\\"";

std::string Key(const std::string& root, const std::string& path) { return "[" + root + path + "]\n"; }

// Runs the phase for the current user (and the profiles given).
void Clean(RegistryTestMachine& machine, const ProfileSet& profiles = {""}) {
    machine.ctx.locations.WindowsDrive = "C";
    machine.ctx.profiles = profiles;
    machine.ctx.profileFolders.clear();
    for (const std::string& name : profiles)
        machine.ctx.profileFolders.push_back(name.empty() ? "" : DefaultProfileFolder("C", name));
    machine.status.SetProgressMaximum(1500);
    CleanUserRegistry(machine.ctx);
}

TEST(RegistryUserCatalogue, CurrentUserOnlyRunsTheBodyOnceAndStillCleansDefault) {
    RegistryTestMachine machine(Key(Cu, "\\Software\\Novell\\GroupWise\\Client") +
                                Key("HKEY_USERS", "\\.DEFAULT\\Software\\Novell\\GroupWise") +
                                Key("HKEY_USERS", "\\.DEFAULT\\Software\\Novell\\Other"));
    Clean(machine);
    EXPECT_TRUE(machine.TraceEvents("hive-load").empty());
    EXPECT_FALSE(machine.HasKey(Cu + "\\Software\\Novell\\GroupWise"));
    EXPECT_FALSE(machine.HasKey("HKEY_USERS\\.DEFAULT\\Software\\Novell\\GroupWise"));
    EXPECT_TRUE(machine.HasKey("HKEY_USERS\\.DEFAULT\\Software\\Novell\\Other"));
    // 14 trees for the user (User Word List off), one for .DEFAULT, plus the
    // Client subkey.
    EXPECT_EQ(machine.status.Position(), 16);
    EXPECT_EQ(machine.access.RootKey(), HkeyUsers);
}

TEST(RegistryUserCatalogue, WritingToolsDecidesTheUserWordList) {
    const std::string regText = Key(Cu, "\\Software\\Novell\\User Word List") + Key(Cu, "\\Software\\Novell\\Spell Checker");
    RegistryTestMachine kept(regText);
    Clean(kept);
    EXPECT_TRUE(kept.HasKey(Cu + "\\Software\\Novell\\User Word List"));
    EXPECT_FALSE(kept.HasKey(Cu + "\\Software\\Novell\\Spell Checker"));

    RegistryTestMachine removed(regText);
    removed.options.checked.insert(Option::WritingTools);
    Clean(removed);
    EXPECT_FALSE(removed.HasKey(Cu + "\\Software\\Novell\\User Word List"));
}

TEST(RegistryUserCatalogue, SoundEventsGoOnlyInsideTheirOwnKeys) {
    RegistryTestMachine machine(Key(Cu, "\\AppEvents\\EventLabels\\NGD_Ringin") + Key(Cu, "\\AppEvents\\EventLabels\\Other") +
                                Key(Cu, "\\AppEvents\\Schemes\\Apps\\ConvPlace\\NGD_Ringin\\.Current") +
                                Key(Cu, "\\AppEvents\\Schemes\\Apps\\Explorer"));
    Clean(machine);
    EXPECT_FALSE(machine.HasKey(Cu + "\\AppEvents\\EventLabels\\NGD_Ringin"));
    EXPECT_FALSE(machine.HasKey(Cu + "\\AppEvents\\Schemes\\Apps\\ConvPlace"));
    EXPECT_TRUE(machine.HasKey(Cu + "\\AppEvents\\EventLabels\\Other"));
    EXPECT_TRUE(machine.HasKey(Cu + "\\AppEvents\\Schemes\\Apps\\Explorer"));

    // Without the AppEvents keys, same-named keys at the hive's top stay.
    RegistryTestMachine bare(Key(Cu, "\\NGD_Ringin") + Key(Cu, "\\ConvPlace"));
    Clean(bare);
    EXPECT_TRUE(bare.HasKey(Cu + "\\NGD_Ringin"));
    EXPECT_TRUE(bare.HasKey(Cu + "\\ConvPlace"));
}

TEST(RegistryUserCatalogue, TelephonyHandOffGoesOnlyWhenItNamesGroupWise) {
    RegistryTestMachine gw(Key(Cu, Handoff) + "\"RequestMakeCall\"=\"c:\\\\novell\\\\groupwise\\\\grpwise.exe\"\n\"Other\"=\"x\"\n" +
                           Key("HKEY_USERS", "\\.DEFAULT" + Handoff) + "\"RequestMakeCall\"=\"GroupWise\"\n");
    Clean(gw);
    EXPECT_EQ(gw.StringValue(Cu + Handoff, "RequestMakeCall"), "<absent>");
    EXPECT_EQ(gw.StringValue(Cu + Handoff, "Other"), "x");
    EXPECT_EQ(gw.StringValue("HKEY_USERS\\.DEFAULT" + Handoff, "RequestMakeCall"), "<absent>");

    RegistryTestMachine dialer(Key(Cu, Handoff) + "\"RequestMakeCall\"=\"C:\\\\Program Files\\\\Windows NT\\\\dialer.exe\"\n");
    Clean(dialer);
    EXPECT_EQ(dialer.StringValue(Cu + Handoff, "RequestMakeCall"), "C:\\Program Files\\Windows NT\\dialer.exe");

    RegistryTestMachine wrongType(Key(Cu, Handoff) + "\"RequestMakeCall\"=dword:00000001\n");
    EXPECT_THROW(Clean(wrongType), PurgentError);
}

TEST(RegistryUserCatalogue, DefaultProfileIsClearedForNovellAndSetWhereAnOutlookProfileExists) {
    struct Case {
        std::string profiles;  // .reg lines of the Profiles key
        bool outlook;
        std::string expected;
    };
    const Case cases[] = {
        {"\"DefaultProfile\"=\"Novell GroupWise\"\n", true, "Outlook"},
        {"\"DefaultProfile\"=\"Novell GroupWise\"\n", false, ""},
        {"\"DefaultProfile\"=\"My Mail\"\n", true, "Outlook"},
        {"\"DefaultProfile\"=\"My Mail\"\n", false, "My Mail"},
        {"\"DefaultProfile\"=\"novell\"\n", false, "novell"},
        {"", true, "Outlook"},
        {"", false, "<absent>"},
    };
    for (const Case& c : cases) {
        for (const std::string& profiles : {Messaging, NtMessaging}) {
            RegistryTestMachine machine(Key(Cu, profiles) + c.profiles +
                                        (c.outlook ? Key(Cu, profiles + "\\Outlook") : ""));
            Clean(machine);
            EXPECT_EQ(machine.StringValue(Cu + profiles, "DefaultProfile"), c.expected) << c.profiles << c.outlook;
        }
    }
}

TEST(RegistryUserCatalogue, NovellDefaultSettingsGoesFromWhicheverVariantExists) {
    RegistryTestMachine machine(Key(Cu, NtMessaging + "\\Novell Default Settings\\0a0d020000000000c000000000000046") +
                                Key(Cu, NtMessaging + "\\Novell Default Settings\\13dbb0c8aa05101a9bb000aa002fc45a") +
                                Key(Cu, NtMessaging + "\\Outlook\\9375CFF0413111d3B88A00104B2A6676"));
    Clean(machine);
    EXPECT_FALSE(machine.HasKey(Cu + NtMessaging + "\\Novell Default Settings"));
    EXPECT_TRUE(machine.HasKey(Cu + NtMessaging + "\\Outlook\\9375CFF0413111d3B88A00104B2A6676"));

    RegistryTestMachine both(Key(Cu, Messaging + "\\Novell Default Settings\\a") +
                             Key(Cu, NtMessaging + "\\Novell Default Settings\\b"));
    Clean(both);
    // Only the subkeys of the first variant go; both keys themselves go.
    EXPECT_FALSE(both.HasKey(Cu + Messaging + "\\Novell Default Settings"));
    EXPECT_FALSE(both.HasKey(Cu + NtMessaging + "\\Novell Default Settings"));
}

TEST(RegistryUserCatalogue, OpenWithListsLoseOnlyTheExactGroupWiseEntries) {
    const std::string list = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.txt\\OpenWithList";
    RegistryTestMachine machine(Key(Cu, list) + "\"a\"=\"GrpWise.exe\"\n\"b\"=\"grpwise.exe\"\n\"c\"=\"notepad.exe\"\n"
                                "\"MRUList\"=\"cba\"\n" +
                                Key(Cu, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.htm\\OpenWithList") +
                                "\"a\"=\"GrpWise.exe\"\n");
    Clean(machine);
    EXPECT_EQ(machine.StringValue(Cu + list, "a"), "<absent>");
    EXPECT_EQ(machine.StringValue(Cu + list, "b"), "grpwise.exe");
    EXPECT_EQ(machine.StringValue(Cu + list, "c"), "notepad.exe");
    EXPECT_EQ(machine.StringValue(Cu + list, "MRUList"), "cba");
    EXPECT_EQ(machine.StringValue(Cu + "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.htm\\OpenWithList", "a"),
              "GrpWise.exe");
}

TEST(RegistryUserCatalogue, XmlParserAssembliesGoTogetherOnlyWhenTheFirstIsPresent) {
    const std::string global = "\\Software\\Microsoft\\Installer\\Win32Assemblies\\Global";
    RegistryTestMachine both(Key(Cu, global) + "\"" + Msxml + "\"=hex(7):00,00\n\"" + MsxmlR + "\"=hex(7):00,00\n\"Other\"=\"x\"\n");
    Clean(both);
    const image::RegistryKeys after = both.Saved();
    const image::RegistryKey* key = image::FindKey(after, Cu + global);
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->values.size(), 1u);
    EXPECT_EQ(key->values[0].name, "Other");

    RegistryTestMachine secondOnly(Key(Cu, global) + "\"" + MsxmlR + "\"=hex(7):00,00\n");
    Clean(secondOnly);
    EXPECT_EQ(image::FindKey(secondOnly.Saved(), Cu + global)->values.size(), 1u);
}

TEST(RegistryUserCatalogue, OtherProfilesAreCleanedInTheirHivesAndTheirOtherDataSurvives) {
    const std::string hive = Key(Cu, "\\Software\\Novell\\GroupWise\\5.0") + Key(Cu, "\\Software\\Vendor\\App") +
                             "\"Setting\"=dword:00000007\n" + Key(Cu, Messaging) + "\"DefaultProfile\"=\"Novell GroupWise\"\n";
    RegistryTestMachine machine(Key(Cu, "\\Software\\Novell\\GroupWise"), {HiveFile("ann", hive), HiveFile("bob", hive)});
    Clean(machine, {"", "ann", "bob"});
    EXPECT_EQ(machine.TraceEvents("hive-unload").size(), 2u);
    for (const std::string profile : {"ann", "bob"}) {
        const image::RegistryKeys keys = machine.HiveKeys(profile);
        EXPECT_FALSE(image::FindKey(keys, Cu + "\\Software\\Novell\\GroupWise")) << profile;
        EXPECT_TRUE(image::FindKey(keys, Cu + "\\Software\\Vendor\\App")) << profile;
        EXPECT_EQ(RegistryTestMachine::StringIn(keys, Cu + Messaging, "DefaultProfile"), "") << profile;
    }
    EXPECT_TRUE(std::find(machine.view.items.begin(), machine.view.items.end(),
                          "\\Purgent.UserHive\\Software\\Novell\\GroupWise\\5.0") != machine.view.items.end());
}

}  // namespace
}  // namespace purgent::testing
