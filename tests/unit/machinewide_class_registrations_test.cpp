#include <gtest/gtest.h>

#include "machinewide_fixture.h"
#include "registry/machinewide_registry.h"

namespace purgent::testing {
namespace {

TEST(MachinewideClassRegistrations, BareMachineShowsAndCountsEveryTree) {
    MachinewideFixture withTools;
    CleanClassRegistrations(withTools.ctx);
    EXPECT_EQ(withTools.Items().size(), 356u);
    EXPECT_EQ(withTools.Steps(), 356);
    EXPECT_EQ(withTools.Items().front(),
              R"(\SOFTWARE\Microsoft\Windows\CurrentVersion\App Management\ARPCache\GroupWise5UninstallKey)");
    EXPECT_EQ(withTools.Items().back(), R"(\Software\Classes\WritingTools)");

    MachinewideFixture withoutTools;
    withoutTools.Set(Option::WritingTools, false);
    CleanClassRegistrations(withoutTools.ctx);
    EXPECT_EQ(withoutTools.Items().size(), 353u);
    EXPECT_EQ(withoutTools.Steps(), 353);
}

const char* const Classes =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.gwf]\n@=\"GroupWise.File\"\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.vew\\ShellNew]\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.txt]\n@=\"txtfile\"\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{C00BD7C2-38C4-4816-A4DA-9EF6FCACF928}\\InprocServer32]\n"
    "@=\"C:\\\\Novell\\\\GroupWise\\\\gwfbs.dll\"\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{C00BD7C2-38C4-4816-A4DA-9EF6FCACF928}\\ProgID]\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{C00BD7C2-38C4-4816-A4DA-9EF6FCACF928}\\TypeLib]\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{4DB969E0-5979-11CE-82A6-00608CBB7395}\\InprocServer32]\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\WritingTools\\Speller]\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{00000000-1111-2222-3333-444444444444}]\n";

TEST(MachinewideClassRegistrations, ExtensionKeysGoSilentlyOthersStay) {
    MachinewideFixture machine(Classes);
    CleanClassRegistrations(machine.ctx);
    EXPECT_FALSE(machine.HasKey(R"(HKEY_LOCAL_MACHINE\SOFTWARE\Classes\.gwf)"));
    EXPECT_FALSE(machine.HasKey(R"(HKEY_LOCAL_MACHINE\SOFTWARE\Classes\.vew)"));
    EXPECT_TRUE(machine.HasKey(R"(HKEY_LOCAL_MACHINE\SOFTWARE\Classes\.txt)"));
    EXPECT_TRUE(machine.HasKey(
        R"(HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{00000000-1111-2222-3333-444444444444})"));
    for (const std::string& item : machine.Items()) EXPECT_EQ(item.find(".gwf"), std::string::npos) << item;
}

TEST(MachinewideClassRegistrations, ClassKeyIsShownSubkeyBySubkeyBeforeItself) {
    MachinewideFixture machine(Classes);
    CleanClassRegistrations(machine.ctx);
    const std::string clsid = R"(\Software\Classes\CLSID\{C00BD7C2-38C4-4816-A4DA-9EF6FCACF928})";
    const auto& items = machine.Items();
    const auto first = std::find(items.begin(), items.end(), clsid + R"(\InprocServer32)");
    ASSERT_NE(first, items.end());
    EXPECT_EQ(std::vector<std::string>(first, first + 4),
              (std::vector<std::string>{clsid + R"(\InprocServer32)", clsid + R"(\ProgID)",
                                        clsid + R"(\TypeLib)", clsid}));
    EXPECT_FALSE(machine.HasKey("HKEY_LOCAL_MACHINE" + clsid));
    // 356 trees plus the three subkeys of this one, plus the subkeys of the two
    // Writing Tools keys.
    EXPECT_EQ(machine.Steps(), 356 + 3 + 2);
}

TEST(MachinewideClassRegistrations, WritingToolsKeysSurviveUnseenWithoutTheOption) {
    MachinewideFixture machine(Classes);
    machine.Set(Option::WritingTools, false);
    CleanClassRegistrations(machine.ctx);
    EXPECT_TRUE(machine.HasKey(R"(HKEY_LOCAL_MACHINE\SOFTWARE\Classes\WritingTools\Speller)"));
    EXPECT_TRUE(machine.HasKey(
        R"(HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{4DB969E0-5979-11CE-82A6-00608CBB7395}\InprocServer32)"));
    for (const std::string& item : machine.Items()) {
        EXPECT_EQ(item.find("WritingTools"), std::string::npos) << item;
        EXPECT_EQ(item.find("4DB969E0"), std::string::npos) << item;
    }
    EXPECT_EQ(machine.Steps(), 353 + 3);
}

}  // namespace
}  // namespace purgent::testing
