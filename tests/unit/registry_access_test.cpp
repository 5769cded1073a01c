#include <gtest/gtest.h>

#include "run/errors.h"
#include "registry_test_machine.h"

namespace purgent::testing {
namespace {

const char* const Events =
    "[HKEY_CURRENT_USER\\AppEvents\\EventLabels\\NGD_Ringin]\n"
    "[HKEY_CURRENT_USER\\AppEvents\\EventLabels\\Other]\n"
    "[HKEY_CURRENT_USER\\NGD_Ringin]\n"
    "[HKEY_LOCAL_MACHINE\\AppEvents\\EventLabels\\NGD_Ringin]\n";

TEST(RegistryAccessPaths, RelativeNamesResolveAgainstTheOpenKeyAbsoluteOnesAgainstTheRoot) {
    RegistryTestMachine machine(Events);
    ASSERT_TRUE(machine.access.OpenKey("\\AppEvents\\EventLabels"));
    machine.access.DeleteKey("NGD_Ringin");
    EXPECT_FALSE(machine.HasKey("HKEY_CURRENT_USER\\AppEvents\\EventLabels\\NGD_Ringin"));
    EXPECT_TRUE(machine.HasKey("HKEY_CURRENT_USER\\NGD_Ringin"));

    machine.access.DeleteKey("\\NGD_Ringin");
    EXPECT_FALSE(machine.HasKey("HKEY_CURRENT_USER\\NGD_Ringin"));
    EXPECT_TRUE(machine.HasKey("HKEY_CURRENT_USER\\AppEvents\\EventLabels\\Other"));
}

TEST(RegistryAccessPaths, RelativeNameWithoutOpenKeyResolvesAgainstTheRoot) {
    RegistryTestMachine machine(Events);
    EXPECT_TRUE(machine.access.OpenKey("AppEvents"));
    EXPECT_TRUE(machine.access.OpenKey("EventLabels\\Other"));
    machine.access.CloseKey();
    EXPECT_TRUE(machine.access.KeyExists("NGD_Ringin"));
    EXPECT_FALSE(machine.access.KeyExists("EventLabels"));
}

TEST(RegistryAccessPaths, FailedOpenKeepsTheCurrentKey) {
    RegistryTestMachine machine(Events);
    ASSERT_TRUE(machine.access.OpenKey("\\AppEvents\\EventLabels"));
    EXPECT_FALSE(machine.access.OpenKey("\\Missing"));
    EXPECT_EQ(machine.access.GetKeyNames(), (std::vector<std::string>{"NGD_Ringin", "Other"}));
}

TEST(RegistryAccessRoot, SameRootKeepsTheOpenKeyAnotherRootClosesIt) {
    RegistryTestMachine machine(Events);
    ASSERT_TRUE(machine.access.OpenKey("\\AppEvents\\EventLabels"));
    machine.access.SetRootKey(HkeyCurrentUser);
    EXPECT_EQ(machine.access.GetKeyNames().size(), 2u);

    machine.access.SetRootKey(HkeyLocalMachine);
    EXPECT_TRUE(machine.access.GetKeyNames().empty());
    machine.access.DeleteKey("AppEvents\\EventLabels\\NGD_Ringin");
    EXPECT_FALSE(machine.HasKey("HKEY_LOCAL_MACHINE\\AppEvents\\EventLabels\\NGD_Ringin"));
    EXPECT_TRUE(machine.HasKey("HKEY_CURRENT_USER\\AppEvents\\EventLabels\\NGD_Ringin"));
}

const char* const Values =
    "[HKEY_CURRENT_USER\\V]\n"
    "\"Expand\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,44,00,72,00,69,00,76,00,65,00,25,00,"
    "5c,00,6a,00,6f,00,00,00\n"
    "\"Plain\"=\"text\"\n"
    "\"Number\"=dword:00000001\n"
    "\"Binary\"=hex:61,62\n";

TEST(RegistryAccessStrings, StringsAreReturnedAsStoredAndCutAtTheFirstNul) {
    RegistryTestMachine machine(Values);
    ASSERT_TRUE(machine.access.OpenKey("\\V"));
    EXPECT_EQ(machine.access.ReadString("expand"), "%SystemDrive%\\jo");
    EXPECT_EQ(machine.access.ReadString("Plain"), "text");
    EXPECT_EQ(machine.access.ReadString("Missing"), "");

    RegistryService& registry = machine.machine.GetPlatform().registry;
    RegKey key = 0;
    ASSERT_EQ(registry.OpenKey(HkeyCurrentUser, "V", key), winerr::Success);
    registry.SetValue(key, "Embedded", RegSz, {'a', 'b', 0, 'c', 0});
    EXPECT_EQ(machine.access.ReadString("Embedded"), "ab");
}

TEST(RegistryAccessStrings, WithoutOpenKeyReadsAreEmptyAndWritesFail) {
    RegistryTestMachine machine("[HKEY_CURRENT_USER]\n\"Plain\"=\"text\"\n");
    EXPECT_EQ(machine.access.ReadString("Plain"), "");
    EXPECT_FALSE(machine.access.ValueExists("Plain"));
    EXPECT_FALSE(machine.access.DeleteValue("Plain"));
    try {
        machine.access.WriteString("Plain", "new");
        FAIL() << "no error raised";
    } catch (const PurgentError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Plain'");
    }
}

TEST(RegistryAccessStrings, OtherTypesRaiseTheInvalidDataTypeError) {
    RegistryTestMachine machine(Values);
    ASSERT_TRUE(machine.access.OpenKey("\\V"));
    for (const std::string name : {"Number", "Binary"}) {
        try {
            machine.access.ReadString(name);
            FAIL() << "no error for " << name;
        } catch (const PurgentError& error) {
            EXPECT_EQ(std::string(error.what()), "Invalid data type for '" + name + "'");
        }
    }
}

TEST(RegistryAccessStrings, WriteStringStoresRegSzWithItsNul) {
    RegistryTestMachine machine(Values);
    ASSERT_TRUE(machine.access.OpenKey("\\V"));
    machine.access.WriteString("Number", "Outlook");
    EXPECT_EQ(machine.access.ReadString("Number"), "Outlook");
    const image::RegistryKeys keys = machine.Saved();
    const image::RegistryValue* value = image::FindValue(*image::FindKey(keys, "HKEY_CURRENT_USER\\V"), "Number");
    EXPECT_EQ(value->type, RegSz);
    EXPECT_EQ(value->data, TextBytes(std::string("Outlook") + '\0'));
}

const char* const Tree =
    "[HKEY_CURRENT_USER\\Keep]\n"
    "\"x\"=\"1\"\n"
    "[HKEY_CURRENT_USER\\A\\B\\C]\n"
    "[HKEY_CURRENT_USER\\A\\D]\n"
    "[HKEY_CURRENT_USER\\A\\D\\E]\n"
    "[HKEY_CURRENT_USER\\A\\D\\F]\n";

TEST(RegistryAccessDeleteKey, RemovesTheWholeTreeSilentlyAndRestoresTheCurrentKey) {
    RegistryTestMachine machine(Tree);
    ASSERT_TRUE(machine.access.OpenKey("\\Keep"));
    EXPECT_TRUE(machine.access.DeleteKey("\\A"));
    EXPECT_FALSE(machine.HasKey("HKEY_CURRENT_USER\\A"));
    EXPECT_TRUE(machine.view.items.empty());
    EXPECT_TRUE(machine.view.positions.empty());
    // The key opened before is still the current one.
    EXPECT_EQ(machine.access.ReadString("x"), "1");
    EXPECT_FALSE(machine.access.DeleteKey("\\A"));
    // Deepest first, the last subkey index before the first.
    EXPECT_EQ(machine.TraceEvents("reg-delete-key"),
              (std::vector<std::string>{"HKEY_CURRENT_USER\\A\\D\\F", "HKEY_CURRENT_USER\\A\\D\\E",
                                        "HKEY_CURRENT_USER\\A\\D", "HKEY_CURRENT_USER\\A\\B\\C",
                                        "HKEY_CURRENT_USER\\A\\B", "HKEY_CURRENT_USER\\A"}));
}

TEST(RegistryAccessDeleteKeyTree, ReportsEveryKeyInPostOrderAndStepsOncePerKey) {
    RegistryTestMachine machine(Tree);
    machine.status.SetProgressMaximum(100);
    machine.access.DeleteKeyTree("\\A");
    EXPECT_EQ(machine.view.items,
              (std::vector<std::string>{"\\A\\B\\C", "\\A\\B", "\\A\\D\\E", "\\A\\D\\F", "\\A\\D", "\\A"}));
    EXPECT_EQ(machine.status.Position(), 6);
    EXPECT_GE(machine.view.repaints, 6);
    EXPECT_FALSE(machine.HasKey("HKEY_CURRENT_USER\\A"));
    EXPECT_TRUE(machine.HasKey("HKEY_CURRENT_USER\\Keep"));
}

TEST(RegistryAccessDeleteKeyTree, AbsentKeyIsReportedAndCountedButNothingIsDeleted) {
    RegistryTestMachine machine(Tree);
    machine.status.SetProgressMaximum(100);
    machine.access.DeleteKeyTree("\\Missing\\Key");
    EXPECT_EQ(machine.view.items, (std::vector<std::string>{"\\Missing\\Key"}));
    EXPECT_EQ(machine.status.Position(), 1);
    EXPECT_TRUE(machine.TraceEvents("reg-delete-key").empty());
}

TEST(RegistryAccessDeleteKeyTree, ProgressWrapsToZeroWhenItReachesTheMaximum) {
    RegistryTestMachine machine(Tree);
    machine.status.SetProgressMaximum(4);
    machine.access.DeleteKeyTree("\\A");
    // Six steps on a bar of four: 1, 2, 3, 4 -> 0, 1, 2.
    EXPECT_EQ(machine.view.positions, (std::vector<int>{0, 1, 2, 3, 4, 0, 1, 2}));
}

// Windows nests keys at most 512 levels deep; a deeper tree (which only a
// registry that does not check could hold) is deleted that far down, the
// rest stays, and the run goes on.
TEST(RegistryAccessDeleteKeyTree, GoesNoDeeperThanWindowsNestsKeys) {
    const struct {
        const char* what;
        int depth;  // levels below HKEY_CURRENT_USER\Deep
        bool gone;
    } cases[] = {{"as deep as Windows allows", RegistryAccess::MaxKeyDepth, true},
                 {"deeper", RegistryAccess::MaxKeyDepth + 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        image::MachineImage image = ImageOf("");
        std::string path = "HKEY_CURRENT_USER\\Deep";
        for (int level = 0; level < c.depth; ++level) path += "\\K";
        image.registry.push_back({path, {}, false});
        RegistryTestMachine machine(image);
        machine.access.DeleteKeyTree("\\Deep");
        EXPECT_EQ(machine.HasKey("HKEY_CURRENT_USER\\Deep"), !c.gone);
        EXPECT_EQ(machine.HasKey(path), !c.gone);
    }
}

}  // namespace
}  // namespace purgent::testing
