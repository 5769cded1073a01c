#include <gtest/gtest.h>

#include "machinewide_fixture.h"
#include "registry/machinewide_registry.h"

namespace purgent::testing {
namespace {

const std::string Classes = R"(HKEY_LOCAL_MACHINE\SOFTWARE\Classes)";
const std::string Assemblies = Classes + R"(\Installer\Win32Assemblies\Global)";
const std::string AssemblyA =
    R"(Microsoft.MSXML2,publicKeyToken="6bd6b9abf345378f",version="4.1.0.0",type="win32",processorArchitecture="x86")";
const std::string AssemblyB =
    R"(Microsoft.MSXML2R,publicKeyToken="6bd6b9abf345378f",version="4.1.0.0",type="win32",processorArchitecture="x86")";

// .reg spelling of a value name: quotes and backslashes escaped.
std::string RegName(const std::string& name) {
    std::string escaped;
    for (char c : name) {
        if (c == '"' || c == '\\') escaped += '\\';
        escaped += c;
    }
    return "\"" + escaped + "\"";
}

TEST(MachinewideClassesRoot, ContactFileTypeUsesItsOwnMarker) {
    MachinewideFixture novell("[" + Classes + "\\.vcf]\n@=\"NovellGroupWareAddressBook.vCard\"\n");
    CleanClassesRoot(novell.ctx);
    EXPECT_EQ(novell.StringValue(Classes + "\\.vcf", ""), "");

    MachinewideFixture groupWise("[" + Classes + "\\.vcf]\n@=\"GroupWise.vCard\"\n");
    CleanClassesRoot(groupWise.ctx);
    EXPECT_EQ(groupWise.StringValue(Classes + "\\.vcf", ""), "GroupWise.vCard");
}

TEST(MachinewideClassesRoot, RegistryErrorEndsOnlyThisCatalogue) {
    MachinewideFixture machine("[" + Classes + "\\Mailto\\DefaultIcon]\n@=dword:00000001\n" + "[" + Classes +
                               "\\Applications\\GrpWise.exe]\n" + "[" + Assemblies + "]\n" +
                               RegName(AssemblyA) + "=\"\"\n");
    EXPECT_NO_THROW(CleanClassesRoot(machine.ctx));
    EXPECT_TRUE(machine.HasKey(Classes + "\\Applications\\GrpWise.exe"));
    EXPECT_TRUE(machine.HasValue(Assemblies, AssemblyA));
    EXPECT_EQ(machine.Steps(), 0);
    EXPECT_TRUE(machine.Items().empty());
}

TEST(MachinewideClassesRoot, RelativeNamesAreShownWithoutLeadingSeparator) {
    MachinewideFixture machine("[" + Classes + "\\Novell.GroupWise.FreeBusySupport\\CLSID]\n");
    CleanClassesRoot(machine.ctx);
    EXPECT_FALSE(machine.HasKey(Classes + "\\Novell.GroupWise.FreeBusySupport"));
    const std::vector<std::string>& items = machine.Items();
    ASSERT_EQ(items.size(), 18u);
    EXPECT_EQ(items[0], R"(\Applications\GrpWise.exe)");
    EXPECT_EQ(items[8], R"(Novell.GroupWise.FreeBusySupport\CLSID)");
    EXPECT_EQ(items[9], R"(Novell.GroupWise.FreeBusySupport)");
    EXPECT_EQ(items[10], R"(Novell.GroupWise.FreeBusySupport.1)");
    EXPECT_EQ(items[11], R"(\Installer\Features\96C870DFC415EFB4B814255E25456303)");
}

TEST(MachinewideClassesRoot, ResourceAssemblyGoesOnlyWithTheMainOne) {
    MachinewideFixture withoutMain("[" + Assemblies + "]\n" + RegName(AssemblyB) + "=\"\"\n");
    CleanClassesRoot(withoutMain.ctx);
    EXPECT_TRUE(withoutMain.HasValue(Assemblies, AssemblyB));

    MachinewideFixture both("[" + Assemblies + "]\n" + RegName(AssemblyA) + "=\"\"\n" + RegName(AssemblyB) +
                            "=\"\"\n\"Other.Assembly\"=\"\"\n");
    CleanClassesRoot(both.ctx);  // Web Services unchecked: no matter here
    EXPECT_FALSE(both.HasValue(Assemblies, AssemblyA));
    EXPECT_FALSE(both.HasValue(Assemblies, AssemblyB));
    EXPECT_TRUE(both.HasValue(Assemblies, "Other.Assembly"));
}

}  // namespace
}  // namespace purgent::testing
