// The comparison of the differential check: what it reports, what it takes
// for Wine's own, and which differences its rules set apart.
#include <gtest/gtest.h>

#include "log_diff.h"
#include "machine_diff.h"
#include "wine_rules.h"

namespace purgent::differential {
namespace {

using image::MachineImage;

image::RegistryValue Text(const std::string& name, const std::string& text) {
    image::RegistryValue value{name, 1, image::Bytes(text.begin(), text.end()), false};
    value.data.push_back(0);
    return value;
}

bool Covered(const std::vector<WineRule>& rules, const std::string& subject, const std::string& value = "") {
    for (const WineRule& rule : rules)
        if (rule.Covers(subject, value)) return true;
    return false;
}

// A listing keeps only the long names that fit its mask, on Windows, under
// Wine and in the simulator: what a short name fits is compared as the rest.
TEST(DifferentialWineRules, AFileWhoseShortNameAloneFitsAMaskIsCompared) {
    MachineImage generated;
    generated.drive = {{"C:\\WINDOWS\\system32\\GWODMX.DLLOLD", false, {}}};
    generated.machine.dlls = {{"C:\\WINDOWS\\system32\\GWODMX.DLLOLD", {"HKEY_LOCAL_MACHINE\\Software\\Classes\\A"}, {}}};
    const std::vector<WineRule> rules = WineRules(generated, {});
    EXPECT_FALSE(Covered(rules, "C:\\WINDOWS\\system32\\GWODMX.DLLOLD"));
    EXPECT_FALSE(Covered(rules, "HKEY_LOCAL_MACHINE\\Software\\Classes\\A"));
}

// Wine's own value in the ProfileList is set apart, the key's others are compared.
TEST(DifferentialWineRules, OnlyTheProfilesDirectoryOfTheProfileListIsSetApart) {
    const std::vector<WineRule> rules = WineRules({}, {});
    const std::string key = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
    EXPECT_TRUE(Covered(rules, key, "ProfilesDirectory"));
    EXPECT_FALSE(Covered(rules, key, "Other"));
}

// Wine lists the symbolic link that stands in for a junction: Messenger's
// data found by listing the profiles goes under Wine only.
TEST(DifferentialWineRules, MessengerDataBehindAJunctionIsSetApart) {
    MachineImage generated;
    generated.machine.junctions = {{"C:\\Documents and Settings", "C:\\Users"}};
    const std::string data = "C:\\Users\\ann\\Local Settings\\Application Data\\Novell\\GroupWise Messenger";
    generated.drive = {{data, true, {}}, {data + "\\history\\chat.log", false, {}}, {"C:\\Users\\ann\\Desktop\\x.lnk", false, {}}};
    const std::vector<WineRule> rules = WineRules(generated, {});
    EXPECT_TRUE(Covered(rules, data));
    EXPECT_TRUE(Covered(rules, data + "\\history\\chat.log"));
    EXPECT_FALSE(Covered(rules, "C:\\Users\\ann\\Desktop\\x.lnk"));
    // The walk through the listed junction: each entry's data folder, not
    // what lies elsewhere below the junction.
    const std::string walked = "C:\\Documents and Settings\\";
    for (const char* entry : {".", "root", "ann"})
        EXPECT_TRUE(Covered(rules, walked + entry + "\\Local Settings\\Application Data\\Novell\\GroupWise Messenger"))
            << entry;
    EXPECT_TRUE(Covered(rules, walked + "eve\\Local Settings\\Application Data\\Novell\\GroupWise Messenger\\a.log"));
    EXPECT_FALSE(Covered(rules, walked + "ann\\Desktop\\x.lnk"));
    EXPECT_FALSE(Covered(rules, walked + "Local Settings\\Application Data\\Novell\\GroupWise Messenger"));
}

// Windows' list of what goes at the next start is compared entry by entry:
// an entry Wine alone made by listing a junction is set apart as the file
// would be; another entry only one side has, or the same entries in
// another order, is a difference.
TEST(DifferentialMachines, ThePendingDeletionsAreComparedEntryByEntry) {
    const std::string sessionManager = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager";
    const auto pending = [&](const std::vector<std::string>& paths) {
        image::RegistryValue value{"PendingFileRenameOperations", 7, {}, false};
        for (const std::string& path : paths) {
            const std::string source = "\\??\\" + path;
            value.data.insert(value.data.end(), source.begin(), source.end());
            value.data.insert(value.data.end(), {0, 0});
        }
        value.data.push_back(0);
        MachineImage machine;
        machine.registry = {{sessionManager, {value}, false}};
        return machine;
    };
    const std::string held = "C:\\Users\\ann\\Local Settings\\Application Data\\Novell\\GroupWise Messenger\\settings.xml";
    const std::string throughJunction = "C:\\Documents and Settings\\ann\\Local Settings\\Application Data\\Novell\\GroupWise Messenger\\settings.xml";
    const std::string dll = "C:\\WINDOWS\\system32\\GWENV1.DLL";
    const struct {
        const char* what;
        std::vector<std::string> wine, sim;
        std::vector<std::string> reported;
    } cases[] = {
        {"the same list", {held, dll}, {held, dll}, {}},
        {"the same file through a junction Wine lists", {throughJunction, held, dll}, {held, dll}, {}},
        {"a file only one side lists", {held}, {held, dll}, {"pending deletion only in the simulator: " + dll}},
        {"another order", {dll, held}, {held, dll},
         {"pending deletions in another order: " + sessionManager + " \"PendingFileRenameOperations\""}},
    };
    for (const auto& c : cases) {
        Machines machines;
        machines.generated = pending({});
        machines.generated.machine.junctions = {{"C:\\Documents and Settings", "C:\\Users"}};
        machines.generated.registry[0].values.clear();
        machines.wineAfter = pending(c.wine);
        machines.simAfter = pending(c.sim);
        EXPECT_EQ(Differences(machines).Differences(), c.reported) << c.what;
    }
}

// Wine opens a protected key with full access: what the simulator keeps
// there (the key, what lies below it, each key holding it) and what Wine
// alone did below it are explained, what Wine alone keeps is not, nor
// anything about a look-alike or a sibling.
TEST(DifferentialWineRules, AProtectedKeyExplainsOnlyWhatTheSimulatorKeeps) {
    MachineImage generated;
    const std::string parent = "HKEY_LOCAL_MACHINE\\Software\\Client", key = parent + "\\Locked";
    generated.machine.denied = {key};
    const struct {
        std::string subject, line;
        bool explained;
    } cases[] = {
        {key, "key only in the simulator: " + key, true},
        {key + "\\Settings", "key only in the simulator: " + key + "\\Settings", true},
        {key, "value only in the simulator: " + key + " \"Level\"", true},
        {key, "value differs: " + key + " \"Level\": Wine type 4 01,00,00,00, simulator type 4 03,00,00,00", true},
        {key, "in C:\\Users\\ann\\ntuser.dat: key only in the simulator: " + key, true},
        {parent, "key only in the simulator: " + parent, true},
        {key, "key only on Wine: " + key, false},
        {parent + "\\Other", "key only in the simulator: " + parent + "\\Other", false},
        {key + "2", "key only in the simulator: " + key + "2", false},
        {key + "\\Settings", "log event only on Wine: reg-delete-key\t" + key + "\\Settings", true},
        {key, "log event only in the simulator: reg-delete-key\t" + key, false},
    };
    for (const auto& c : cases) {
        Findings findings(WineRules(generated, {}));
        findings.Add(c.subject, c.line);
        EXPECT_EQ(findings.Differences().empty(), c.explained) << c.line;
    }
}

// The program never deletes through a link nor removes one, so no rule
// sets apart what a removed link leads to: where a run removed a link (Wine
// would have removed its target), each trace of it is a difference.
TEST(DifferentialWineRules, WhatARemovedLinkLeadsToIsADifference) {
    MachineImage generated;
    generated.machine.reparsePoints = {{"C:\\Novell\\GroupWise\\GWCheck", "C:\\Important2"}};
    const RunLogs logs{"", "dir-remove\tc:\\novell\\groupwise\\GWCheck\n"};
    const struct {
        std::string subject, line;
    } cases[] = {
        {"C:\\Important2", "folder only in the simulator: C:\\Important2"},
        {"C:\\Novell\\GroupWise\\GWCheck", "link only on Wine: C:\\Novell\\GroupWise\\GWCheck=C:\\Important2"},
        {"c:\\novell\\groupwise\\GWCheck", "log event only in the simulator: dir-remove\tc:\\novell\\groupwise\\GWCheck"},
    };
    for (const auto& c : cases) {
        Findings findings(WineRules(generated, {}, logs));
        findings.Add(c.subject, c.line);
        EXPECT_FALSE(findings.Differences().empty()) << c.line;
    }
}

// The real program's changes where Windows would refuse them are taken out
// of its log: the simulator must not make them. A subkey named in full
// opens on its own, whatever its parent's security.
TEST(DifferentialLogs, AChangeWindowsRefusesInAProtectedKeyMustBeMissingInTheSimulator) {
    MachineImage generated;
    const std::string parent = "HKEY_LOCAL_MACHINE\\Software\\Client", key = parent + "\\Locked";
    generated.registry = {{parent + "\\Other", {}, false}, {key + "\\Settings", {Text("Level", "3")}, false}};
    generated.machine.denied = {key};
    const std::string wine = "reg-delete-key\t" + key + "\\Settings\nreg-delete-key\t" + key +
                             "\nreg-delete-value\t" + key + "\tLevel\nreg-delete-key\t" + parent + "\\Other\nreg-delete-key\t" +
                             parent + "\nexit\t0\n";
    const struct {
        const char* what;
        std::string sim;
        std::vector<std::string> reported;
    } cases[] = {
        {"the simulator refused them", "reg-delete-key\t" + parent + "\\Other\nexit\t0\n", {}},
        {"the simulator deleted the subkey it names",
         "reg-delete-key\t" + key + "\\Settings\nreg-delete-key\t" + parent + "\\Other\nexit\t0\n", {}},
        {"the simulator deleted the protected key",
         "reg-delete-key\t" + key + "\\Settings\nreg-delete-key\t" + key + "\nreg-delete-key\t" + parent +
             "\\Other\nexit\t0\n",
         {"log event only in the simulator: reg-delete-key\t" + key}},
        {"the simulator deleted a value of the protected key",
         "reg-delete-value\t" + key + "\tLevel\nreg-delete-key\t" + parent + "\\Other\nexit\t0\n",
         {"log event only in the simulator: reg-delete-value\t" + key + "\tLevel"}},
        {"the simulator deleted the key holding it",
         "reg-delete-key\t" + parent + "\\Other\nreg-delete-key\t" + parent + "\nexit\t0\n",
         {"log event only in the simulator: reg-delete-key\t" + parent}},
        {"a sibling kept", "exit\t0\n", {"log event only on Wine: reg-delete-key\t" + parent + "\\Other"}},
    };
    for (const auto& c : cases) {
        Findings findings(WineRules(generated, {}));
        CompareLogs(wine, c.sim, generated, findings);
        EXPECT_EQ(findings.Differences(), c.reported) << c.what;
    }
}

// A location Wine read from a protected key: what each run did at or below
// the folder it found is set apart, with the two location events; what lies
// elsewhere, and a location read from a key Windows opens, are compared.
TEST(DifferentialLogs, ALocationReadFromAProtectedKeySetsApartWhatLiesBelowItsFolders) {
    const std::string appPath = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\GrpWise.exe";
    const std::string folders = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders";
    MachineImage generated;
    generated.registry = {{appPath, {Text("Path", "C:\\Program Files\\Novell\\GroupWise Client\\")}, false},
                          {folders, {Text("C:\\Program Files\\Novell\\GroupWise Client\\PPForms\\", "")}, false}};
    generated.drive = {{"C:\\Program Files\\Novell\\GroupWise Client\\gw.dll", false, {}},
                       {"c:\\novell\\groupwise\\gw.dll", false, {}}, {"C:\\Other\\x.dll", false, {}}};
    const std::string wine =
        "location\tGroupWiseDir\tC:\\Program Files\\Novell\\GroupWise Client\\\nlocation\tMessengerDir\tC:\\IM\\\n"
        "reg-delete-value\t" + folders + "\tC:\\Program Files\\Novell\\GroupWise Client\\PPForms\\\n"
        "file-delete\tC:\\Program Files\\Novell\\GroupWise Client\\gw.dll\nfile-delete\tC:\\Other\\x.dll\n";
    const std::string sim =
        "location\tGroupWiseDir\tc:\\novell\\groupwise\\\nlocation\tMessengerDir\tC:\\Messenger\\\n"
        "file-delete\tc:\\novell\\groupwise\\gw.dll\n";
    const std::vector<std::string> elsewhere = {"log event only on Wine: location\tMessengerDir\tC:\\IM\\",
                                                "log event only on Wine: file-delete\tC:\\Other\\x.dll",
                                                "log event only in the simulator: location\tMessengerDir\tC:\\Messenger\\"};
    generated.machine.denied = {appPath};
    Findings findings(WineRules(generated, {}, {wine, sim}));
    CompareLogs(wine, sim, generated, findings);
    EXPECT_EQ(findings.Differences(), elsewhere);

    generated.machine.denied.clear();
    Findings opened(WineRules(generated, {}, {wine, sim}));
    CompareLogs(wine, sim, generated, opened);
    EXPECT_EQ(opened.Differences().size(), elsewhere.size() + 5);
}

TEST(DifferentialMachineDiff, ReportsWhatDiffersAndLeavesWinesOwnData) {
    const std::string key = "HKEY_LOCAL_MACHINE\\Software\\Vendor";
    Machines m;
    m.generated.registry = {{key, {Text("Kept", "1"), Text("Gone", "2")}, false}};
    m.generated.drive = {{"C:\\a.txt", false, {}}, {"C:\\b.txt", false, {}}};
    m.wineBefore.registry = {{key, {Text("Kept", "1"), Text("Gone", "2"), Text("WinesOwn", "3")}, false},
                             {key + "\\WineKey", {}, false}};
    m.wineAfter.registry = {{key, {Text("Kept", "1"), Text("WinesOwn", "3")}, false}, {key + "\\WineKey", {}, false}};
    m.wineAfter.drive = {{"C:\\a.txt", false, {}}};
    m.simAfter.registry = {{key, {Text("Kept", "changed")}, false}};
    m.simAfter.drive = {{"C:\\a.txt", false, {}}, {"C:\\b.txt", false, {}}};
    m.simAfter.machine.attributes = {{"C:\\a.txt", image::AttrHidden}};
    EXPECT_EQ(Differences(m).Differences(),
              (std::vector<std::string>{
                  "value differs: " + key + " \"Kept\": Wine type 1 \"1\", simulator type 1 \"changed\"",
                  "attributes differ: C:\\a.txt: Wine \"\", simulator \"h\"",
                  "file only in the simulator: C:\\b.txt",
              }));
}

// A link the image names is compared like a file: there on both sides, or
// gone on both.
TEST(DifferentialMachineDiff, ALinkOnlyOneSideKeepsIsReported) {
    const image::ReparsePoint kept{"C:\\Novell\\GroupWise\\GWCheck", "C:\\Important2"},
        gone{"C:\\GW", "C:\\windows"}, removedOnWine{"C:\\Novell\\manual.txt", "C:\\Important2\\hr.doc"};
    Machines m;
    m.generated.machine.reparsePoints = {kept, gone, removedOnWine};
    m.wineAfter.machine.reparsePoints = {kept};
    m.simAfter.machine.reparsePoints = {kept, removedOnWine};
    EXPECT_EQ(Differences(m).Differences(),
              std::vector<std::string>{"link only in the simulator: C:\\Novell\\manual.txt=C:\\Important2\\hr.doc"});
}

// Link keys are compared like keys, in the registry and in hive files.
TEST(DifferentialMachineDiff, ReportsLinksOnlyOneSideHoldsOrThatLeadElsewhere) {
    const std::string hive = "C:\\Users\\ann\\ntuser.dat";
    const image::RegistryLink kept{"HKEY_LOCAL_MACHINE\\Software\\Novell\\A", "HKEY_LOCAL_MACHINE\\Software\\X", ""};
    const image::RegistryLink gone{"HKEY_CURRENT_USER\\Software\\Novell\\B", "HKEY_LOCAL_MACHINE\\Software\\X", hive};
    const image::RegistryLink moved{"HKEY_LOCAL_MACHINE\\Software\\Novell\\C", "HKEY_LOCAL_MACHINE\\Software\\X", ""};
    const image::RegistryLink winesOwn{"HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Classes",
                                       "HKEY_LOCAL_MACHINE\\Software\\Classes\\Wow6432Node", ""};
    Machines m;
    m.generated.machine.registryLinks = {kept, gone, moved};
    m.wineBefore.machine.registryLinks = {kept, gone, moved, winesOwn};
    m.wineAfter.machine.registryLinks = {kept, gone, moved, winesOwn};
    image::RegistryLink elsewhere = moved;
    elsewhere.target = "HKEY_LOCAL_MACHINE\\Software\\Y";
    m.simAfter.machine.registryLinks = {kept, elsewhere};
    EXPECT_EQ(Differences(m).Differences(),
              (std::vector<std::string>{
                  "link only on Wine: " + hive + "|HKEY_CURRENT_USER\\Software\\Novell\\B (to HKEY_LOCAL_MACHINE\\Software\\X)",
                  "link target differs: HKEY_LOCAL_MACHINE\\Software\\Novell\\C (to HKEY_LOCAL_MACHINE\\Software\\X), "
                  "simulator HKEY_LOCAL_MACHINE\\Software\\Y",
              }));
}

// The logs agree in any case, the simulator's record of regsvr32's own
// deletions is left out, and an event only one of them holds is reported.
TEST(DifferentialLogs, EventsOnlyOneLogHoldsAreReported) {
    MachineImage generated;
    generated.machine.dlls = {{"C:\\N\\a.dll", {"HKEY_LOCAL_MACHINE\\Software\\Classes\\A"}, {}}};
    generated.drive = {{"C:\\N", true, {}}, {"C:\\N\\a.dll", false, {}}, {"C:\\N\\b.dll", false, {}}};
    const std::string wine =
        "# Purgent 3.5.0.0 run log\n"
        "launch\tC:\\windows\\system32\\regsvr32.exe\tC:\\windows\\system32\\regsvr32.exe /u /s C:\\N\\a.dll\n"
        "file-delete\tC:\\N\\A.DLL\n"
        "file-delete\tC:\\N\\b.dll\n"
        "exit\t0\n";
    const std::string sim =
        "# Purgent 3.5.0.0 run log\n# computer: SIMULATED\n"
        "launch\tC:\\WINDOWS\\system32\\regsvr32.exe\tC:\\WINDOWS\\system32\\regsvr32.exe /u /s C:\\N\\a.dll\n"
        "reg-delete-key\tHKEY_LOCAL_MACHINE\\Software\\Classes\\A\\InprocServer32\n"
        "file-delete\tC:\\N\\a.dll\n"
        "exit\t0\n";
    Findings findings({});
    CompareLogs(wine, sim, generated, findings);
    EXPECT_EQ(findings.Differences(), (std::vector<std::string>{"log event only on Wine: file-delete\tC:\\N\\b.dll"}));
}

// The status bar is compared in every run, its progress by steps: only an
// item naming what a rule or Wine's own data sets apart goes, with its step.
TEST(DifferentialLogs, StatusEventsAreComparedExceptAnItemSetApartAndItsStep) {
    const std::string covered = "HKEY_LOCAL_MACHINE\\Software\\Vendor";
    // Each ends with the bar's reset, which follows however many steps came before.
    const std::string reset = "progress\t0\t9\n";
    const std::string sim = "phase\tDeleting\nprogress\t1\t9\nitem\t\\Software\\Client\nprogress\t2\t9\n" + reset;
    const struct {
        const char* what;
        std::string wine;
        std::size_t reported, setApart;
    } cases[] = {
        {"the same", sim, 0, 0},
        {"an item a rule covers, and its step",
         "phase\tDeleting\nprogress\t1\t9\nitem\t\\Software\\Vendor\\Sub\nprogress\t2\t9\n"
         "item\t\\Software\\Client\nprogress\t3\t9\n",
         0, 2},
        {"Wine's own key, its item and its step",
         "phase\tDeleting\nprogress\t1\t9\nitem\t\\Software\\Wine\nreg-delete-key\tHKEY_LOCAL_MACHINE\\Software\\Wine\n"
         "progress\t2\t9\nitem\t\\Software\\Client\nprogress\t3\t9\n",
         0, 3},
        {"an item nothing explains, and its step",
         "phase\tDeleting\nprogress\t1\t9\nitem\t\\Software\\Other\nprogress\t2\t9\n"
         "item\t\\Software\\Client\nprogress\t3\t9\n",
         2, 0},
        {"a step of another size", "phase\tDeleting\nprogress\t1\t9\nitem\t\\Software\\Client\nprogress\t3\t9\n", 2, 0},
        {"another phase text", "phase\tDeleting Files\nprogress\t1\t9\nitem\t\\Software\\Client\nprogress\t2\t9\n", 2, 0},
    };
    MachineImage generated;
    for (const auto& c : cases) {
        Findings findings({WineRule{"a property of Wine", {}, {covered}, ""}});
        EXPECT_GT(CompareLogs(c.wine == sim ? sim : c.wine + reset, sim, generated, findings), 0u) << c.what;
        EXPECT_EQ(findings.Differences().size(), c.reported) << c.what;
        EXPECT_EQ(findings.Excluded().size(), c.setApart) << c.what;
    }
}

}  // namespace
}  // namespace purgent::differential
