#include <gtest/gtest.h>

#include "image/machine_image.h"
#include "image_error_of.h"

namespace purgent::image {
namespace {

MachineIni Parse(const std::string& text) { return ParseMachineIni(text, "machine.ini"); }

std::string ErrorOf(const std::string& text) {
    return ImageErrorOf([&] { Parse(text); });
}

TEST(MachineIni, ReadsEverySectionAndTheSimulatorsKeys) {
    const MachineIni ini = Parse(
        "; workstation\r\n"
        "[machine]\r\n"
        "platform=9x\r\n"
        "restore-privilege=NO\r\n"
        "PSAPI=Failing\r\n"
        "[attributes]\r\n"
        "C:\\Odd=Name\\a.txt=rhs\r\n"
        "C:\\b.txt=\r\n"
        "[locked]\r\n"
        "C:\\WINDOWS\\system32\\gwenv1.dll\r\n"
        "[denied]\r\n"
        "HKEY_LOCAL_MACHINE\\Software\\Locked\r\n"
        "[process]\r\n"
        "image=grpwise.exe\r\n"
        "terminable=no\r\n"
        "[process]\r\n"
        "image=nmapp.exe\r\n"
        "queryable=no\r\n"
        "modules=no\r\n"
        "[window]\r\n"
        "title=Novell GroupWise\r\n"
        "class=GWMainWnd\r\n"
        "closes=no\r\n"
        "process=grpwise.exe\r\n"
        "[dll]\r\n"
        "path=C:\\Novell\\GroupWise\\gwenv1.dll\r\n"
        "unregisters=HKEY_CLASSES_ROOT\\GW.Env\r\n"
        "unregisters=HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{1}\r\n");
    EXPECT_FALSE(ini.machine.windir.has_value());   // a [machine] without windir: unset
    EXPECT_EQ(ini.machine.platform, PlatformFamily::Win9x);
    EXPECT_FALSE(ini.machine.restorePrivilege);
    ASSERT_EQ(ini.machine.otherKeys.size(), 1u);
    EXPECT_EQ(ini.machine.otherKeys[0].key, "psapi");
    EXPECT_EQ(ini.machine.otherKeys[0].value, "failing");
    ASSERT_EQ(ini.attributes.size(), 2u);
    EXPECT_EQ(ini.attributes[0].path, "C:\\Odd=Name\\a.txt");
    EXPECT_EQ(ini.attributes[0].attributes, AttrReadOnly | AttrHidden | AttrSystem);
    EXPECT_EQ(ini.attributes[1].attributes, 0u);
    EXPECT_EQ(ini.locked, std::vector<std::string>{"C:\\WINDOWS\\system32\\gwenv1.dll"});
    EXPECT_EQ(ini.denied, std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Software\\Locked"});
    ASSERT_EQ(ini.processes.size(), 2u);
    EXPECT_EQ(ini.processes[0].image, "grpwise.exe");
    EXPECT_TRUE(ini.processes[0].queryable);
    EXPECT_FALSE(ini.processes[0].terminable);
    EXPECT_FALSE(ini.processes[1].queryable);
    EXPECT_EQ(ini.processes[1].otherKeys.at(0).value, "no");
    ASSERT_EQ(ini.windows.size(), 1u);
    EXPECT_EQ(ini.windows[0].title, "Novell GroupWise");
    EXPECT_EQ(ini.windows[0].className, "GWMainWnd");
    EXPECT_FALSE(ini.windows[0].closes);
    EXPECT_EQ(ini.windows[0].process, "grpwise.exe");
    ASSERT_EQ(ini.dlls.size(), 1u);
    EXPECT_EQ(ini.dlls[0].path, "C:\\Novell\\GroupWise\\gwenv1.dll");
    EXPECT_EQ(ini.dlls[0].unregisters,
              (std::vector<std::string>{"HKEY_CLASSES_ROOT\\GW.Env", "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{1}"}));
}

TEST(MachineIni, WithoutAMachineSectionTheWorkstationIsBareNt) {
    const MachineIni ini = Parse("[process]\nimage=x.exe\n");
    EXPECT_EQ(ini.machine.windir, std::string("C:\\WINDOWS"));
    EXPECT_EQ(ini.machine.platform, PlatformFamily::Nt);
    EXPECT_TRUE(ini.machine.restorePrivilege);
}

TEST(MachineIni, TextIsConvertedBetweenUtf8AndAnsi) {
    const MachineIni ini = Parse("\xEF\xBB\xBF[machine]\nwindir=C:\\Fen\xC3\xAAtre\n");
    EXPECT_EQ(ini.machine.windir, std::string("C:\\Fen\xEAtre"));
    EXPECT_NE(WriteMachineIni(ini).find("windir=C:\\Fen\xC3\xAAtre\n"), std::string::npos);
}

TEST(MachineIni, WriteThenParseGivesTheSameMachine) {
    MachineIni ini;
    ini.machine.windir = "D:\\WINNT";
    ini.machine.platform = PlatformFamily::Other;
    ini.machine.otherKeys = {{"toolhelp", "no"}};
    ini.attributes = {{"C:\\a=b", AttrHidden}, {"C:\\plain", 0}};
    ini.locked = {"C:\\x.dll"};
    ini.processes = {{"grpwise.exe", false, true, {{"terminates", "no"}}}};
    ini.windows = {{"Title", "Class", false, "", {}}};
    ini.dlls = {{"C:\\a b\\x.dll", {"HKEY_CLASSES_ROOT\\X", "HKEY_CLASSES_ROOT\\Y"}, {}}};
    ini.junctions = {{"C:\\Documents and Settings", "C:\\Users"}, {"C:\\a=b", "D:\\c=d"}};
    const std::string text = WriteMachineIni(ini);
    const MachineIni back = Parse(text);
    EXPECT_EQ(back.machine.windir, ini.machine.windir);
    EXPECT_EQ(back.machine.platform, ini.machine.platform);
    EXPECT_EQ(back.machine.otherKeys.at(0).value, "no");
    ASSERT_EQ(back.attributes.size(), 2u);
    EXPECT_EQ(back.attributes[0].path, "C:\\a=b");
    EXPECT_EQ(back.attributes[0].attributes, AttrHidden);
    EXPECT_EQ(back.locked, ini.locked);
    EXPECT_TRUE(back.denied.empty());
    ASSERT_EQ(back.processes.size(), 1u);
    EXPECT_FALSE(back.processes[0].queryable);
    EXPECT_EQ(back.processes[0].otherKeys.at(0).key, "terminates");
    ASSERT_EQ(back.windows.size(), 1u);
    EXPECT_EQ(back.windows[0].process, "");
    ASSERT_EQ(back.dlls.size(), 1u);
    EXPECT_EQ(back.dlls[0].path, ini.dlls[0].path);
    EXPECT_EQ(back.dlls[0].unregisters, ini.dlls[0].unregisters);
    ASSERT_EQ(back.junctions.size(), 2u);
    EXPECT_EQ(back.junctions[1].link, "C:\\a=b");
    EXPECT_EQ(back.junctions[1].target, "D:\\c=d");
    EXPECT_EQ(WriteMachineIni(back), text);

    MachineIni unset;
    unset.machine.windir.reset();
    EXPECT_FALSE(Parse(WriteMachineIni(unset)).machine.windir.has_value());
}

TEST(MachineIni, MalformedLinesNameFileAndLine) {
    EXPECT_EQ(ErrorOf("windir=C:\\X\n"), "machine.ini:1: line outside any section");
    EXPECT_EQ(ErrorOf("[machine\n"), "machine.ini:1: section line without closing ']'");
    EXPECT_EQ(ErrorOf("[machine]\n\nwindir\n"), "machine.ini:3: expected key=value");
    EXPECT_EQ(ErrorOf("[machine]\nplatform=xp\n"), "machine.ini:2: expected platform nt, 9x or other, not \"xp\"");
    EXPECT_EQ(ErrorOf("[process]\nimage=a.exe\nterminable=maybe\n"),
              "machine.ini:3: expected yes or no, not \"maybe\"");
    EXPECT_EQ(ErrorOf("[process]\nqueryable=no\n"), "machine.ini:1: [process] without image=");
    EXPECT_EQ(ErrorOf("[dll]\nunregisters=HKEY_CLASSES_ROOT\\X\n"), "machine.ini:1: [dll] without path=");
    EXPECT_EQ(ErrorOf("[attributes]\nC:\\a.txt=rx\n"), "machine.ini:2: unknown attribute letter 'x' (r, h, s)");
    EXPECT_EQ(ErrorOf("[attributes]\nC:\\a.txt\n"), "machine.ini:2: expected <path>=<letters>");
    EXPECT_EQ(ErrorOf("[machine]\n[proces]\nimage=a.exe\n"), "machine.ini:2: unknown section [proces]");
    EXPECT_EQ(ErrorOf("[machine]\nplatfrom=nt\n"), "machine.ini:2: unknown key \"platfrom\" in [machine]");
    EXPECT_EQ(ErrorOf("[dll]\npath=C:\\x.dll\nthread=no\n"), "machine.ini:3: unknown key \"thread\" in [dll]");
    EXPECT_EQ(ErrorOf("[junction]\nC:\\Documents and Settings=Users\n"),
              "machine.ini:2: expected <folder>=<folder it names>, both full paths with a drive letter");
    EXPECT_EQ(ErrorOf("[machine]\npsapi=broken\n"),
              "machine.ini:2: expected psapi yes, no, incomplete or failing, not \"broken\"");
}

// A [registry-link] line: the link's key and the key it leads to, or, for a
// link inside a user's hive file, the file first and the key below
// HKEY_CURRENT_USER; anything else names its line. Written out, each reads
// back the same.
TEST(MachineIni, RegistryLinkLinesNameTheKeyItsTargetAndAHiveFile) {
    const struct {
        const char* what;
        std::string line;
        RegistryLink link;
        std::string error;
    } cases[] = {
        {"a machine key", R"(HKEY_LOCAL_MACHINE\Software\A=HKEY_LOCAL_MACHINE\Software\B)",
         {R"(HKEY_LOCAL_MACHINE\Software\A)", R"(HKEY_LOCAL_MACHINE\Software\B)", ""}, ""},
        {"an \"=\" in a key name", R"(HKEY_CURRENT_USER\Software\a=b=HKEY_USERS\S-1\c=d)",
         {R"(HKEY_CURRENT_USER\Software\a=b)", R"(HKEY_USERS\S-1\c=d)", ""}, ""},
        {"in a hive file",
         R"(C:\Documents and Settings\ann\NTUSER.DAT|HKEY_CURRENT_USER\Software\L=HKEY_LOCAL_MACHINE\Software)",
         {R"(HKEY_CURRENT_USER\Software\L)", R"(HKEY_LOCAL_MACHINE\Software)",
          R"(C:\Documents and Settings\ann\NTUSER.DAT)"},
         ""},
        {"a hive file's key outside HKEY_CURRENT_USER",
         R"(C:\Users\ann\ntuser.dat|HKEY_LOCAL_MACHINE\Software\L=HKEY_LOCAL_MACHINE\Software)", {},
         "machine.ini:2: a link in a hive file lies under HKEY_CURRENT_USER"},
        {"a file that is no hive", R"(C:\Users\ann\a.dat|HKEY_CURRENT_USER\Software\L=HKEY_LOCAL_MACHINE\X)", {},
         "machine.ini:2: \"C:\\Users\\ann\\a.dat\" is no hive file (ntuser.dat)"},
        {"a hive file without its key", R"(C:\Users\ann\ntuser.dat=HKEY_LOCAL_MACHINE\Software)", {},
         "machine.ini:2: expected <hive file>|HKEY_CURRENT_USER\\...=<key it names>"},
        {"an unknown root", R"(HKEY_PERFORMANCE_DATA\X=HKEY_LOCAL_MACHINE\Software)", {},
         "machine.ini:2: expected <key>=<key it names>, both full key paths under a root of the registry"},
        {"a root alone", R"(HKEY_LOCAL_MACHINE=HKEY_LOCAL_MACHINE\Software)", {},
         "machine.ini:2: expected <key>=<key it names>, both full key paths under a root of the registry"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = "[registry-link]\n" + c.line + "\n";
        if (!c.error.empty()) {
            EXPECT_EQ(ErrorOf(text), c.error);
            continue;
        }
        const MachineIni ini = Parse(text);
        ASSERT_EQ(ini.registryLinks.size(), 1u);
        EXPECT_EQ(ini.registryLinks[0].key, c.link.key);
        EXPECT_EQ(ini.registryLinks[0].target, c.link.target);
        EXPECT_EQ(ini.registryLinks[0].hive, c.link.hive);
        EXPECT_EQ(WriteMachineIni(Parse(WriteMachineIni(ini))), WriteMachineIni(ini));
        EXPECT_NE(WriteMachineIni(ini).find(c.line), std::string::npos);
    }
}

}  // namespace
}  // namespace purgent::image
