#include <gtest/gtest.h>

#include "platform/sim/sim_machine.h"
#include "sim_test_image.h"

namespace purgent::sim {
namespace {

TEST(SimEnvironment, WindirFromTheImageAndWhatWindowsDerivesFromIt) {
    image::MachineImage image;
    image.machine.machine.windir = "D:\\WINNT";
    image.machine.machine.platform = image::PlatformFamily::Win9x;
    SimMachine machine(image);
    EnvironmentService& environment = machine.GetPlatform().environment;
    EXPECT_EQ(environment.Variable("WINDIR"), "D:\\WINNT");
    EXPECT_EQ(environment.Variable("Path"), "D:\\WINNT\\system32;D:\\WINNT");
    EXPECT_EQ(environment.Variable("COMSPEC"), "D:\\WINNT\\system32\\cmd.exe");
    EXPECT_EQ(environment.Variable("TEMP"), std::nullopt);
    std::uint32_t id = 99;
    ASSERT_TRUE(environment.PlatformId(id));
    EXPECT_EQ(id, PlatformWin9x);
}

TEST(SimEnvironment, UnsetWindirAndPlatformFamilies) {
    image::MachineImage image;
    image.machine.machine.windir = std::nullopt;
    image.machine.machine.platform = image::PlatformFamily::Other;
    SimMachine machine(image);
    EXPECT_EQ(machine.GetPlatform().environment.Variable("windir"), std::nullopt);
    std::uint32_t id = 99;
    ASSERT_TRUE(machine.GetPlatform().environment.PlatformId(id));
    EXPECT_NE(id, PlatformWin9x);
    EXPECT_NE(id, PlatformWinNT);

    SimMachine bare{image::MachineImage{}};
    ASSERT_TRUE(bare.GetPlatform().environment.PlatformId(id));
    EXPECT_EQ(id, PlatformWinNT);
    EXPECT_EQ(bare.GetPlatform().environment.Variable("windir"), "C:\\WINDOWS");
}

TEST(SimPrograms, OnlyExistingFilesStartAndAreTraced) {
    SimMachine machine(ImageWithFiles({"C:\\Setup\\setup.exe"}));
    ProgramService& programs = machine.GetPlatform().programs;
    EXPECT_TRUE(programs.RunAndWait("c:\\setup\\SETUP.EXE", "c:\\setup\\SETUP.EXE /q"));
    EXPECT_FALSE(programs.RunAndWait("C:\\Setup\\other.exe", "C:\\Setup\\other.exe"));
    EXPECT_FALSE(programs.RunAndWait("C:\\Setup", "C:\\Setup"));
    // A bare workstation has the registration tool.
    EXPECT_TRUE(programs.RunAndWait("C:\\WINDOWS\\system32\\regsvr32.exe",
                                    "C:\\WINDOWS\\system32\\regsvr32.exe /u /s C:\\x.dll"));
    EXPECT_EQ(machine.Trace().Lines(),
              (std::vector<std::string>{"launch\tc:\\setup\\SETUP.EXE\tc:\\setup\\SETUP.EXE /q",
                                        "launch\tC:\\WINDOWS\\system32\\regsvr32.exe\t"
                                        "C:\\WINDOWS\\system32\\regsvr32.exe /u /s C:\\x.dll"}));
}

TEST(SimPrograms, WithoutAnApplicationTheCommandLineProgramIsSearchedFor) {
    SimMachine machine(ImageWithFiles({"C:\\WINDOWS\\notepad.exe", "C:\\Tools\\run.exe"}));
    ProgramService& programs = machine.GetPlatform().programs;
    EXPECT_TRUE(programs.RunAndWait("", "notepad readme.txt"));
    EXPECT_TRUE(programs.RunAndWait("", "\"C:\\Tools\\run\" x"));
    EXPECT_FALSE(programs.RunAndWait("", "run x"));
    EXPECT_FALSE(programs.RunAndWait("", ""));
    EXPECT_EQ(machine.Trace().Lines(),
              (std::vector<std::string>{"launch\tC:\\WINDOWS\\notepad.exe\tnotepad readme.txt",
                                        "launch\tC:\\Tools\\run.exe\t\"C:\\Tools\\run\" x"}));
}

TEST(SimPrograms, ShortNamesAreThePathAsGivenWhenItExists) {
    SimMachine machine(ImageWithFiles({"C:\\Program Files\\Novell\\setup.exe"}));
    ProgramService& programs = machine.GetPlatform().programs;
    EXPECT_EQ(programs.ShortPathName("c:\\program files\\novell\\setup.exe"), "c:\\program files\\novell\\setup.exe");
    EXPECT_EQ(programs.ShortPathName("C:\\WINDOWS\\system32\\regsvr32.exe"), "C:\\WINDOWS\\system32\\regsvr32.exe");
    EXPECT_EQ(programs.ShortPathName("C:\\Program Files\\Novell\\missing.exe"), "");
    EXPECT_TRUE(programs.FileExists("C:\\WINDOWS\\system32\\cmd.exe"));
    EXPECT_FALSE(programs.FileExists("C:\\WINDOWS\\system32\\other.exe"));
}

TEST(SimPrograms, WaitsAreRecordedAndExitUnwinds) {
    SimMachine machine{image::MachineImage{}};
    ProgramService& programs = machine.GetPlatform().programs;
    programs.Sleep(2000);
    try {
        programs.ExitProcess(3);
        ADD_FAILURE() << "ExitProcess returned";
    } catch (const SimProcessExit& exit) {
        EXPECT_EQ(exit.status, 3);
    }
    EXPECT_EQ(machine.Trace().Lines(), (std::vector<std::string>{"wait\t2000", "exit\t3"}));
}

}  // namespace
}  // namespace purgent::sim
