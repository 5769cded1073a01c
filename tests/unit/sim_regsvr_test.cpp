#include <gtest/gtest.h>

#include "platform/sim/sim_regsvr.h"
#include "registry_test_machine.h"

namespace purgent::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(SimRegsvr, CommandLinesSplitAsTheCRuntimeBuildsArgv) {
    const std::pair<std::string, Lines> cases[] = {
        {"regsvr32 /u /s C:\\a\\b.dll", {"regsvr32", "/u", "/s", "C:\\a\\b.dll"}},
        {"regsvr32  /u\t\"C:\\Program Files\\b.dll\"", {"regsvr32", "/u", "C:\\Program Files\\b.dll"}},
        {"r C:\\Program Files\\b.dll", {"r", "C:\\Program", "Files\\b.dll"}},
        {"r a\"b c\"d \"\"", {"r", "ab cd", ""}},
        {"r \\\\\"a b\" c\\\\d \\\"e", {"r", "\\a b", "c\\\\d", "\"e"}},
        {"  ", {}},
    };
    for (const auto& [line, argv] : cases) EXPECT_EQ(sim::SplitArguments(line), argv) << line;
}

// Two registered DLLs, one in a folder whose name holds a blank.
struct RegsvrMachine : RegistryTestMachine {
    RegsvrMachine() : RegistryTestMachine(Image()) {}
    static image::MachineImage Image() {
        image::MachineImage image = ImageOf(
            "[HKEY_CLASSES_ROOT\\Test.One\\InprocServer32]\n@=\"C:\\\\Novell Client\\\\one.dll\"\n"
            "[HKEY_CLASSES_ROOT\\Test.One\\Other]\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Classes\\Test.Two]\n");
        image.drive.push_back({"C:\\Novell Client", true, {}});
        image.drive.push_back({"C:\\Novell Client\\one.dll", false, {}});
        image.drive.push_back({"C:\\two.dll", false, {}});
        image.machine.dlls = {{"C:\\Novell Client\\one.dll", {"HKEY_CLASSES_ROOT\\Test.One"}, {}},
                              {"c:\\TWO.dll", {"HKEY_LOCAL_MACHINE\\Software\\Classes\\Test.Two"}, {}}};
        return image;
    }
    void Run(const std::string& arguments) {
        const std::string tool = "C:\\WINDOWS\\system32\\regsvr32.exe";
        machine.GetPlatform().programs.RunAndWait(tool, tool + " " + arguments);
    }
};

TEST(SimRegsvr, UnregisteringADllOfTheImageDeletesItsKeysDeepestFirst) {
    RegsvrMachine m;
    m.Run("/u /s \"C:\\Novell Client\\one.dll\" C:\\Two.dll");
    EXPECT_EQ(m.TraceEvents("reg-delete-key"),
              (Lines{"HKEY_LOCAL_MACHINE\\Software\\Classes\\Test.One\\Other",
                     "HKEY_LOCAL_MACHINE\\Software\\Classes\\Test.One\\InprocServer32",
                     "HKEY_LOCAL_MACHINE\\Software\\Classes\\Test.One",
                     "HKEY_LOCAL_MACHINE\\Software\\Classes\\Test.Two"}));
}

TEST(SimRegsvr, NothingHappensWithoutUnregisterOrAWholeExistingPath) {
    for (const char* arguments : {"/s \"C:\\Novell Client\\one.dll\"",  // registering
                                  "/u /s C:\\Novell Client\\one.dll",     // split at the blank
                                  "/u /s C:\\three.dll"}) {               // no such file
        RegsvrMachine m;
        m.Run(arguments);
        EXPECT_TRUE(m.TraceEvents("reg-delete-key").empty()) << arguments;
        EXPECT_TRUE(m.HasKey("HKEY_LOCAL_MACHINE\\Software\\Classes\\Test.One\\InprocServer32")) << arguments;
    }
}

}  // namespace
}  // namespace purgent::testing
