#include <gtest/gtest.h>

#include "run/errors.h"
#include "machinewide_fixture.h"
#include "registry/machinewide_registry.h"

namespace purgent::testing {
namespace {

TEST(MachinewideWebServices, ComponentsAreVisitedOnlyWithTheOption) {
    const std::string msxml =
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{88d969c0-f192-11d4-a65f-0040963251e5}"
        "\\InprocServer32]\n"
        "@=\"C:\\\\WINDOWS\\\\system32\\\\msxml4.dll\"\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Msxml2.DOMDocument.4.0\\CLSID]\n";
    MachinewideFixture without(msxml);
    CleanWebServicesEntries(without.ctx);
    EXPECT_EQ(without.Steps(), 0);
    EXPECT_TRUE(without.Items().empty());
    EXPECT_TRUE(without.HasKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Msxml2.DOMDocument.4.0\\CLSID"));

    MachinewideFixture with(msxml);
    with.Set(Option::WebServices, true);
    CleanWebServicesEntries(with.ctx);
    EXPECT_EQ(with.Steps(), 95 + 2);
    EXPECT_FALSE(with.HasKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Msxml2.DOMDocument.4.0"));
    EXPECT_FALSE(
        with.HasKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{88D969C0-F192-11D4-A65F-0040963251E5}"));
    EXPECT_EQ(with.Items().back(),
              R"(\Software\MicroSoft\Windows\CurrentVersion\ModuleUsage\C:/WINNT/System32/msxml4r.dll)");
}

const std::string SharedDlls = R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs)";

// Value names as file paths, each counting users of the file.
const std::string SharedDllNames =
    "[" + SharedDlls + "]\n" +
    "\"C:\\\\WINDOWS\\\\system32\\\\GWENV1.DLL\"=dword:00000001\n"
    "\"C:\\\\Program Files\\\\Novell\\\\GroupWise\\\\gwcma1.dll\"=dword:00000002\n"
    "\"C:\\\\Program Files\\\\Common Files\\\\WT\\\\wt9spl.dll\"=dword:00000001\n"
    "\"C:\\\\WINNT\\\\System32\\\\MSXML4.DLL\"=dword:00000001\n"
    "\"C:\\\\Program Files\\\\Acme\\\\gwizard.dll\"=dword:00000001\n"
    "\"C:\\\\WINDOWS\\\\system32\\\\mfc42.dll\"=dword:00000003\n"
    "\"C:\\\\Tools\\\\xgw.dll\"=dword:00000001\n";

TEST(MachinewideWebServices, SharedDllNamesAreTestedInLowerCase) {
    MachinewideFixture machine(SharedDllNames);
    CleanWebServicesEntries(machine.ctx);
    // Matched in lower case, deleted by their own spelling; any vendor's "\gw".
    EXPECT_FALSE(machine.HasValue(SharedDlls, "C:\\WINDOWS\\system32\\GWENV1.DLL"));
    EXPECT_FALSE(machine.HasValue(SharedDlls, "C:\\Program Files\\Novell\\GroupWise\\gwcma1.dll"));
    EXPECT_FALSE(machine.HasValue(SharedDlls, "C:\\Program Files\\Acme\\gwizard.dll"));
    EXPECT_FALSE(machine.HasValue(SharedDlls, "C:\\Program Files\\Common Files\\WT\\wt9spl.dll"));
    EXPECT_TRUE(machine.HasValue(SharedDlls, "C:\\WINNT\\System32\\MSXML4.DLL"));
    EXPECT_TRUE(machine.HasValue(SharedDlls, "C:\\WINDOWS\\system32\\mfc42.dll"));
    EXPECT_TRUE(machine.HasValue(SharedDlls, "C:\\Tools\\xgw.dll"));
}

TEST(MachinewideWebServices, SharedDllWritingToolsAndXmlNamesFollowTheirOptions) {
    MachinewideFixture machine(SharedDllNames);
    machine.Set(Option::WritingTools, false);
    machine.Set(Option::WebServices, true);
    CleanWebServicesEntries(machine.ctx);
    EXPECT_TRUE(machine.HasValue(SharedDlls, "C:\\Program Files\\Common Files\\WT\\wt9spl.dll"));
    EXPECT_FALSE(machine.HasValue(SharedDlls, "C:\\WINNT\\System32\\MSXML4.DLL"));
    EXPECT_FALSE(machine.HasValue(SharedDlls, "C:\\WINDOWS\\system32\\GWENV1.DLL"));
    EXPECT_TRUE(machine.HasValue(SharedDlls, "C:\\WINDOWS\\system32\\mfc42.dll"));
}

const std::string MailtoCommand = R"(HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Mailto\Shell\Open\Command)";
const std::string MailtoIcon = R"(HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Mailto\DefaultIcon)";
const std::string ClientsNews = R"(HKEY_LOCAL_MACHINE\SOFTWARE\Clients\News)";

TEST(MachinewideWebServices, HandlerDefaultsAreEmptiedForCaseSensitiveMarkers) {
    MachinewideFixture machine(
        "[" + MailtoCommand + "]\n@=\"C:\\\\Novell\\\\GroupWise\\\\gwmailto.exe /m %1\"\n" + "[" +
        MailtoIcon + "]\n@=\"C:\\\\Novell\\\\GroupWise\\\\GWMAILTO.EXE,0\"\n" + "[" + ClientsNews +
        "]\n@=\"GroupWise\"\n" + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\Mail]\n@=\"Outlook Express\"\n");
    CleanWebServicesEntries(machine.ctx);
    EXPECT_EQ(machine.StringValue(MailtoCommand, ""), "");
    EXPECT_TRUE(machine.HasKey(MailtoCommand));
    EXPECT_EQ(machine.StringValue(MailtoIcon, ""), "C:\\Novell\\GroupWise\\GWMAILTO.EXE,0");
    EXPECT_EQ(machine.StringValue(ClientsNews, ""), "");
    EXPECT_EQ(machine.StringValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\Mail", ""), "Outlook Express");
}

TEST(MachinewideWebServices, NonStringHandlerDefaultEndsTheCatalogueWithTheError) {
    const std::string mapi =
        R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows Messaging SubSystem\MSMapiApps)";
    MachinewideFixture machine("[" + MailtoIcon + "]\n@=hex:01,02\n[" + mapi + "]\n\"grpwise.exe\"=\"\"\n");
    EXPECT_THROW(CleanWebServicesEntries(machine.ctx), PurgentError);
    EXPECT_TRUE(machine.HasValue(mapi, "grpwise.exe"));
}

TEST(MachinewideWebServices, HelpAndMapiValuesGoOthersStay) {
    const std::string help = R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\Help)";
    const std::string mapi =
        R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows Messaging SubSystem\MSMapiApps)";
    MachinewideFixture machine("[" + help + "]\n\"gwnfy1us.hlp\"=\"C:\\\\Novell\\\\GroupWise\"\n" +
                               "\"notepad.hlp\"=\"C:\\\\WINDOWS\\\\Help\"\n" + "[" + mapi + "]\n" +
                               "\"grpwise.exe\"=\"\"\n\"gwcma1.dll\"=\"\"\n\"msimn.exe\"=\"\"\n");
    CleanWebServicesEntries(machine.ctx);
    EXPECT_FALSE(machine.HasValue(help, "gwnfy1US.hlp"));
    EXPECT_TRUE(machine.HasValue(help, "notepad.hlp"));
    EXPECT_FALSE(machine.HasValue(mapi, "grpwise.exe"));
    EXPECT_FALSE(machine.HasValue(mapi, "gwcma1.dll"));
    EXPECT_TRUE(machine.HasValue(mapi, "msimn.exe"));
    EXPECT_EQ(machine.Steps(), 0);
}

}  // namespace
}  // namespace purgent::testing
