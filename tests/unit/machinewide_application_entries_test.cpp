#include <gtest/gtest.h>

#include <algorithm>

#include "run/errors.h"
#include "machinewide_fixture.h"
#include "registry/machinewide_registry.h"

namespace purgent::testing {
namespace {

const std::string UserData =
    R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UserData)";
const std::string Client = "96C870DFC415EFB4B814255E25456303";
const std::string Other = "11111111222233334444555555555555";

std::string Component(const std::string& account, const std::string& code) {
    return UserData + "\\" + account + "\\Components\\" + code;
}

long CountOf(const std::vector<std::string>& items, const std::string& text) {
    return std::count(items.begin(), items.end(), text);
}

// Two accounts. The system account: a component of the client alone, one
// shared with another product, one of the other product only, one of the
// client with an empty default, one of the client with a subkey.
const std::string TwoAccounts =
    "[" + Component("S-1-5-18", "AAAA0000000000000000000000000001") + "]\n\"" + Client +
    "\"=\"C:\\\\x.dll\"\n" + "[" + Component("S-1-5-18", "AAAA0000000000000000000000000002") + "]\n\"" +
    Client + "\"=\"a\"\n\"" + Other + "\"=\"b\"\n" + "[" +
    Component("S-1-5-18", "AAAA0000000000000000000000000003") + "]\n\"" + Other + "\"=\"c\"\n" + "[" +
    Component("S-1-5-18", "AAAA0000000000000000000000000004") + "]\n@=\"\"\n\"" + Client + "\"=\"e\"\n[" +
    Component("S-1-5-18", "AAAA0000000000000000000000000005") + "]\n\"" + Client + "\"=\"f\"\n" + "[" +
    Component("S-1-5-18", "AAAA0000000000000000000000000005") + "\\Sub]\n" + "[" +
    Component("S-1-5-21-7-8-9-1004", "BBBB0000000000000000000000000001") + "]\n\"" + Client + "\"=\"d\"\n" +
    "[" + Component("S-1-5-21-7-8-9-1004", "BBBB0000000000000000000000000002") + "\\Sub]\n" + "[" + UserData +
    "\\S-1-5-21-7-8-9-1004\\Products\\" + Client + "\\InstallProperties]\n";

TEST(MachinewideApplicationEntries, InstallerSweepTakesTheClientsValueAndOnlyKeysLeftEmpty) {
    MachinewideFixture machine(TwoAccounts);
    CleanApplicationEntries(machine.ctx);
    const std::pair<std::string, bool> keptOrNot[] = {
        {Component("S-1-5-18", "AAAA0000000000000000000000000001"), false},
        {Component("S-1-5-18", "AAAA0000000000000000000000000002"), true},
        {Component("S-1-5-18", "AAAA0000000000000000000000000003"), true},
        {Component("S-1-5-18", "AAAA0000000000000000000000000004"), false},
        {Component("S-1-5-18", "AAAA0000000000000000000000000005"), true},
        {Component("S-1-5-21-7-8-9-1004", "BBBB0000000000000000000000000001"), false},
        {Component("S-1-5-21-7-8-9-1004", "BBBB0000000000000000000000000002"), true},
    };
    for (const auto& [key, kept] : keptOrNot) {
        EXPECT_EQ(machine.HasKey(key), kept) << key;
        EXPECT_FALSE(machine.HasValue(key, Client)) << key;
    }
    // The other product's record and the subkeys stay as they were.
    EXPECT_EQ(machine.StringValue(Component("S-1-5-18", "AAAA0000000000000000000000000002"), Other), "b");
    EXPECT_EQ(machine.StringValue(Component("S-1-5-18", "AAAA0000000000000000000000000003"), Other), "c");
    EXPECT_TRUE(machine.HasKey(Component("S-1-5-18", "AAAA0000000000000000000000000005") + "\\Sub"));
    EXPECT_TRUE(
        machine.HasKey(Component("S-1-5-21-7-8-9-1004", "BBBB0000000000000000000000000002") + "\\Sub"));
    EXPECT_FALSE(machine.HasKey(UserData + "\\S-1-5-21-7-8-9-1004\\Products\\" + Client));

    // Each account's product record is reported, also where it is absent.
    const std::string userData = R"(\Software\Microsoft\Windows\CurrentVersion\Installer\UserData\)";
    EXPECT_EQ(CountOf(machine.Items(), userData + "S-1-5-18\\Products\\" + Client), 1);
    EXPECT_EQ(CountOf(machine.Items(), userData + "S-1-5-21-7-8-9-1004\\Products\\" + Client), 1);
    // A component that stays is reported like one that goes.
    const std::string withSubkey = userData + "S-1-5-18\\Components\\AAAA0000000000000000000000000005";
    EXPECT_EQ(CountOf(machine.Items(), withSubkey), 1);
}

TEST(MachinewideApplicationEntries, FixedPartCountsSixtyFiveTreesWithoutInstallerData) {
    MachinewideFixture machine;
    CleanApplicationEntries(machine.ctx);
    EXPECT_EQ(machine.Steps(), 65);
    // The first four component keys, then the fourth one three more times.
    const std::string p =
        R"(\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Components\0511BD06EBDFDC045AB9B0B55E18EB54)";
    EXPECT_EQ(CountOf(machine.Items(), p), 4);

    MachinewideFixture accounts(TwoAccounts);
    CleanApplicationEntries(accounts.ctx);
    // Two accounts: one step for each of the five client components, two
    // product records (one with its subkey); the fixed part sees the system
    // account's remaining keys.
    EXPECT_EQ(accounts.Steps(), 65 + 5 + 2 + 1);
}

const std::string Folders =
    R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\Folders)";

TEST(MachinewideApplicationEntries, InstallerFoldersOfTheClientGo) {
    MachinewideFixture machine(
        "[" + Folders + "]\n" +
        "\"C:\\\\Program Files\\\\Novell\\\\GroupWise\\\\\"=\"\"\n"
        "\"C:\\\\Novell\\\\GroupWise\\\\GWCheck\\\\\"=\"\"\n"
        "\"C:\\\\Novell\\\\Tools\\\\OFViews\\\\\"=\"\"\n"
        "\"C:\\\\Setup\\\\{B9A93A85-1997-4381-8979-4B0BB28AEBC7}\\\\\"=\"\"\n"
        "\"C:\\\\Documents and Settings\\\\ann\\\\Start Menu\\\\Programs\\\\Novell GroupWise\\\\\"=\"\"\n"
        "\"C:\\\\Program Files\\\\Other\\\\\"=\"\"\n");
    machine.ctx.locations.GroupWiseDir = "C:\\Novell\\Tools\\";
    machine.ctx.locations.UserPrograms = "C:\\Documents and Settings\\ann\\Start Menu\\Programs";
    CleanApplicationEntries(machine.ctx);
    EXPECT_FALSE(machine.HasValue(Folders, "C:\\Program Files\\Novell\\GroupWise\\"));
    EXPECT_FALSE(machine.HasValue(Folders, "C:\\Novell\\GroupWise\\GWCheck\\"));
    EXPECT_FALSE(machine.HasValue(Folders, "C:\\Novell\\Tools\\OFViews\\"));
    EXPECT_FALSE(machine.HasValue(Folders, "C:\\Setup\\{B9A93A85-1997-4381-8979-4B0BB28AEBC7}\\"));
    EXPECT_FALSE(machine.HasValue(
        Folders, "C:\\Documents and Settings\\ann\\Start Menu\\Programs\\Novell GroupWise\\"));
    EXPECT_TRUE(machine.HasValue(Folders, "C:\\Program Files\\Other\\"));
}

TEST(MachinewideApplicationEntries, FolderNameMatchingBothMarkersIsDeletedOnce) {
    const std::string name = R"(C:\Novell\GroupWise\{B9A93A85-1997-4381-8979-4B0BB28AEBC7}\)";
    MachinewideFixture machine("[" + Folders +
                               "]\n\"C:\\\\Novell\\\\GroupWise\\\\"
                               "{B9A93A85-1997-4381-8979-4B0BB28AEBC7}\\\\\"=\"\"\n");
    EXPECT_NO_THROW(CleanApplicationEntries(machine.ctx));
    EXPECT_FALSE(machine.HasValue(Folders, name));
    EXPECT_EQ(CountOf(machine.TraceEvents("reg-delete-value"), Folders + "\t" + name), 1);
}

TEST(MachinewideApplicationEntries, InstallerFolderNamesAreMatchedCaseSensitively) {
    MachinewideFixture machine("[" + Folders + "]\n" +
                               "\"C:\\\\PROGRAM FILES\\\\NOVELL\\\\GROUPWISE\\\\\"=\"\"\n"
                               "\"C:\\\\Setup\\\\{b9a93a85-1997-4381-8979-4b0bb28aebc7}\\\\\"=\"\"\n");
    CleanApplicationEntries(machine.ctx);
    EXPECT_TRUE(machine.HasValue(Folders, "C:\\PROGRAM FILES\\NOVELL\\GROUPWISE\\"));
    EXPECT_TRUE(machine.HasValue(Folders, "C:\\Setup\\{b9a93a85-1997-4381-8979-4b0bb28aebc7}\\"));
}

TEST(MachinewideApplicationEntries, ContactFileDefaultIsBlankedOnlyForTheExactMarker) {
    MachinewideFixture marked(
        "[HKEY_LOCAL_MACHINE\\.vcf]\n@=\"NovellGroupWise.vCard\"\n\"Other\"=\"GroupWise\"\n");
    CleanApplicationEntries(marked.ctx);
    EXPECT_EQ(marked.StringValue("HKEY_LOCAL_MACHINE\\.vcf", ""), "");
    EXPECT_EQ(marked.StringValue("HKEY_LOCAL_MACHINE\\.vcf", "Other"), "GroupWise");

    MachinewideFixture otherCase("[HKEY_LOCAL_MACHINE\\.vcf]\n@=\"GROUPWISE.vCard\"\n");
    CleanApplicationEntries(otherCase.ctx);
    EXPECT_EQ(otherCase.StringValue("HKEY_LOCAL_MACHINE\\.vcf", ""), "GROUPWISE.vCard");

    MachinewideFixture absent;
    EXPECT_NO_THROW(CleanApplicationEntries(absent.ctx));
    EXPECT_FALSE(absent.HasKey("HKEY_LOCAL_MACHINE\\.vcf"));
}

TEST(MachinewideApplicationEntries, NonStringContactFileDefaultEndsTheCatalogueWithTheError) {
    MachinewideFixture machine(
        "[HKEY_LOCAL_MACHINE\\.vcf]\n@=dword:00000001\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\Mail\\GroupWise]\n");
    try {
        CleanApplicationEntries(machine.ctx);
        FAIL() << "no error raised";
    } catch (const PurgentError& error) {
        EXPECT_STREQ(error.what(), "Invalid data type for ''");
    }
    // The steps after the contact file were not reached.
    EXPECT_TRUE(machine.HasKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\Mail\\GroupWise"));
}

const std::string FreeBusy10 =
    R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Office\10.0\Outlook\SchedulingInformation\FreeBusySupport)";
const std::string FreeBusy11 =
    R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Office\11.0\Outlook\SchedulingInformation\FreeBusySupport)";

TEST(MachinewideApplicationEntries, FreeBusyHookGoesWhereItIsAndNothingElse) {
    MachinewideFixture machine("[" + FreeBusy10 + "]\n\"EX\"=\"{0006F049-0000-0000-C000-000000000046}\"\n" +
                               "[" + FreeBusy11 + "]\n\"NGW\"=\"{C00BD7C2-38C4-4816-A4DA-9EF6FCACF928}\"\n" +
                               "\"SMTP\"=\"{0006F049-0000-0000-C000-000000000046}\"\n");
    EXPECT_NO_THROW(CleanApplicationEntries(machine.ctx));
    EXPECT_TRUE(machine.HasValue(FreeBusy10, "EX"));
    EXPECT_FALSE(machine.HasValue(FreeBusy11, "NGW"));
    EXPECT_TRUE(machine.HasValue(FreeBusy11, "SMTP"));
}

TEST(MachinewideApplicationEntries, SecondProductLeavesSystemComponentsItSharedWithOthers) {
    const std::string p = UserData + R"(\S-1-5-18\Components\)";
    MachinewideFixture machine("[" + p + "FFD08B3645DC698409FEC1E31F144EC6]\n" +
                               "\"58A39A9B799118349897B4B02BA8BE7C\"=\"C:\\\\gw.dll\"\n\"" + Other +
                               "\"=\"x\"\n" + "[" + p + "02E53555536F37F489E277B9CE7F9ACC]\n\"" + Other +
                               "\"=\"y\"\n");
    CleanApplicationEntries(machine.ctx);
    EXPECT_FALSE(
        machine.HasValue(p + "FFD08B3645DC698409FEC1E31F144EC6", "58A39A9B799118349897B4B02BA8BE7C"));
    EXPECT_TRUE(machine.HasValue(p + "FFD08B3645DC698409FEC1E31F144EC6", Other));
    // One of the keys removed whole, whoever else uses it.
    EXPECT_FALSE(machine.HasKey(p + "02E53555536F37F489E277B9CE7F9ACC"));
}

}  // namespace
}  // namespace purgent::testing
