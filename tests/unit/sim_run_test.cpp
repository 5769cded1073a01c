#include <gtest/gtest.h>

#include <algorithm>

#include "purgent_sim/run_purgent.h"
#include "sim_test_image.h"

namespace purgent::sim {
namespace {

std::vector<std::string> Events(const SimMachine& machine, const std::string& name) {
    return machine.Trace().Events(name);
}

bool Ran(const SimMachine& machine) {
    const auto phases = Events(machine, "phase");
    return std::find(phases.begin(), phases.end(), "Done") != phases.end();
}

// Keep the client and Messenger: the runs below only start and end.
const std::vector<std::string> KeepAll{"/kc", "/km"};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(RunPurgentOnSim, InteractivePressesCleanOnceThenClosesTheWindow) {
    SimMachine machine{image::MachineImage{}};
    EXPECT_EQ(RunPurgentOnSim(machine, KeepAll), 0);
    EXPECT_EQ(Events(machine, "phase"), (std::vector<std::string>{"Purgent Started", "Done"}));
    EXPECT_EQ(machine.Trace().Lines().back(), "exit\t0");
    EXPECT_EQ(Events(machine, "exit").size(), 1u);
}

TEST(RunPurgentOnSim, ADisabledCleanButtonIsNotPressed) {
    SimMachine machine{image::MachineImage{}};
    EXPECT_EQ(RunPurgentOnSim(machine, {"/kf", "/kr"}), 0);
    EXPECT_FALSE(Ran(machine));
    EXPECT_EQ(machine.Trace().Lines(), std::vector<std::string>{"exit\t0"});
}

TEST(RunPurgentOnSim, UnattendedModesEndTheProcessThemselves) {
    SimMachine silent{image::MachineImage{}};
    EXPECT_EQ(RunPurgentOnSim(silent, With(KeepAll, {"/s"})), 0);
    EXPECT_EQ(Events(silent, "message"), std::vector<std::string>{"Purgent - Completed"});
    EXPECT_EQ(silent.Trace().Lines().back(), "exit\t0");

    SimMachine progressOnly{image::MachineImage{}};
    EXPECT_EQ(RunPurgentOnSim(progressOnly, With(KeepAll, {"/sp"})), 0);
    EXPECT_TRUE(Ran(progressOnly));
    EXPECT_TRUE(Events(progressOnly, "message").empty());
}

TEST(RunPurgentOnSim, InvalidCommandLineIsReportedAndNothingRuns) {
    SimMachine machine{image::MachineImage{}};
    EXPECT_EQ(RunPurgentOnSimCommandLine(machine, "/s /sp"), 3);
    EXPECT_EQ(machine.Trace().Lines(),
              (std::vector<std::string>{"message\tInvalid Purgent Commandline", "exit\t3"}));
}

// Ten argument slots follow the program, empty ones as a blank each.
std::string WithEmptySlots(const std::string& commandLine, int used) {
    return commandLine + std::string(10 - used, ' ');
}

TEST(RunPurgentOnSim, ArgumentsReachPurgentExactlyAsGiven) {
    const std::string setup = "C:\\Program Files\\Novell\\setup.exe";
    SimMachine machine(ImageWithFiles({setup}));
    RunPurgentOnSim(machine, With(KeepAll, {"/sn", "/la-\"" + setup + "\" \"a b\" c\\"}));
    EXPECT_EQ(Events(machine, "launch"),
              std::vector<std::string>{setup + "\t" + WithEmptySlots("\"" + setup + "\" \"a b\" c\\", 2)});
}

TEST(RunPurgentOnSim, RawCommandLineIsSplitByPurgent) {
    const std::string setup = "C:\\Program Files\\Novell\\setup.exe";
    SimMachine machine(ImageWithFiles({setup}));
    RunPurgentOnSimCommandLine(machine, "/sn /kc  /km \"/la-\\\"" + setup + "\\\" /q\"");
    EXPECT_EQ(Events(machine, "launch"),
              std::vector<std::string>{setup + "\t" + WithEmptySlots("\"" + setup + "\" /q", 1)});
}

TEST(RunPurgentOnSim, FollowUpProgramIsFoundAlongPathAndBatchFilesRunThroughComspec) {
    SimMachine machine(ImageWithFiles({"C:\\WINDOWS\\setup.exe", "C:\\Tools\\install.bat"}));
    RunPurgentOnSim(machine, With(KeepAll, {"/sn", "/la-setup /q"}));
    SimMachine batch(ImageWithFiles({"C:\\WINDOWS\\setup.exe", "C:\\Tools\\install.bat"}));
    RunPurgentOnSim(batch, With(KeepAll, {"/sn", "/la-C:\\Tools\\install"}));
    SimMachine missing{image::MachineImage{}};
    EXPECT_EQ(RunPurgentOnSim(missing, With(KeepAll, {"/sn", "/la-setup"})), 0);

    EXPECT_EQ(Events(machine, "launch"),
              std::vector<std::string>{"C:\\WINDOWS\\setup.EXE\t" + WithEmptySlots("setup /q", 1)});
    const std::string cmd = "C:\\WINDOWS\\system32\\cmd.exe";
    EXPECT_EQ(Events(batch, "launch"),
              std::vector<std::string>{cmd + "\t" + cmd + " /c \"" + WithEmptySlots("\"C:\\Tools\\install\"", 0) +
                                       "\""});
    EXPECT_TRUE(Events(missing, "launch").empty());
    EXPECT_EQ(missing.Trace().Lines().back(), "exit\t0");
}

// Without a short path the blank stays: the program goes in quotes, and for
// the interpreter the whole command after /c in one more pair.
TEST(RunPurgentOnSim, AProgramPathWithABlankReachesTheCommandLineQuoted) {
    const std::string setup = "C:\\My Tools\\setup.exe", batch = "C:\\My Tools\\go";
    const std::string cmd = "C:\\WINDOWS\\system32\\cmd.exe";
    const std::pair<std::string, std::string> cases[] = {
        {"\"" + setup + "\" a", setup + "\t" + WithEmptySlots("\"" + setup + "\" a", 1)},
        {"\"" + batch + ".bat\" \"a b\"",
         cmd + "\t" + cmd + " /c \"" + WithEmptySlots("\"" + batch + ".bat\" \"a b\"", 1) + "\""},
        {"\"" + batch + "\"", cmd + "\t" + cmd + " /c \"" + WithEmptySlots("\"" + batch + "\"", 0) + "\""},
    };
    for (const auto& [launch, launched] : cases) {
        SimMachine machine(ImageWithFiles({setup, batch + ".bat"}));
        RunPurgentOnSim(machine, With(KeepAll, {"/sn", "/la-" + launch}));
        EXPECT_EQ(Events(machine, "launch"), std::vector<std::string>{launched}) << launch;
    }
}

// Discovery is traced before any change: each location once, in the order
// InstallLocations declares them, then the profile set. The logged-on user
// (jo), left out of the ProfileList pass, joins the set later, after the
// per-user registry pass.
TEST(RunPurgentOnSim, TracesWhatDiscoveryFound) {
    SimMachine machine(image::LoadMachineImage(std::string(PURGENT_TEST_DATA) + "/users"));
    RunPurgentOnSim(machine, {"/sn"});
    EXPECT_EQ(Events(machine, "location"),
              (std::vector<std::string>{
                  "WindowsDir\tC:\\WINDOWS", "WindowsDrive\tC", "GroupWiseDir\tc:\\novell\\groupwise\\",
                  "MessengerDir\tc:\\novell\\messenger\\", "CommonSendTo\t", "CommonDesktop\t",
                  "CommonStartup\t", "CommonPrograms\t", "UserSendTo\t", "UserDesktop\t", "UserStartup\t",
                  "UserPrograms\t", "LogonUserName\tjo", "DefaultUserProfile\tDefault User",
                  "AllUsersProfile\tAll Users"}));
    EXPECT_EQ(Events(machine, "profile"), (std::vector<std::string>{"1\t", "2\tann", "3\tbob", "4\tjo"}));

    const std::vector<std::string>& lines = machine.Trace().Lines();
    const auto at = [&](const std::string& prefix) {
        return std::find_if(lines.begin(), lines.end(),
                            [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
    };
    EXPECT_LT(at("profile\t3\t"), at("reg-delete-key\t"));
    EXPECT_LT(at("hive-unload\t"), at("profile\t4\t"));
}

// Windows 7: profiles under C:\Users (reached through the "Documents and
// Settings" junction), no "Logon User Name"; ann is not logged on, bob is
// (his hive loaded under HKEY_USERS\<SID>), cur runs the program.
TEST(RunPurgentOnSim, EveryVistaUserIsCleanedWithoutALogonName) {
    SimMachine machine(image::LoadMachineImage(std::string(PURGENT_TEST_DATA) + "/vista-users"));
    EXPECT_EQ(RunPurgentOnSim(machine, {"/sn"}), 0);
    const image::MachineImage after = machine.SaveImage();
    const std::string bob = "HKEY_USERS\\S-1-5-21-3623811015-3361044348-30300820-1002";
    const image::DriveItem* annHive = image::FindDriveItem(after.drive, "C:\\Users\\ann\\NTUSER.DAT");
    ASSERT_NE(annHive, nullptr);
    const image::RegistryKeys ann = image::ParseHiveText(annHive->contents, "ann");
    const struct {
        const char* who;
        const image::RegistryKeys& keys;
        std::string root;
    } users[] = {{"cur", after.registry, "HKEY_CURRENT_USER"},
                 {"ann", ann, "HKEY_CURRENT_USER"},
                 {"bob", after.registry, bob}};
    for (const auto& user : users) {
        for (const char* gone : {"\\Software\\Novell\\GroupWise", "\\AppEvents\\EventLabels\\NGD_Ringin"})
            EXPECT_FALSE(image::FindKey(image::NetRegistry(user.keys), user.root + gone)) << user.who << gone;
        for (const char* kept : {"\\Software\\Novell\\GroupWare", "\\Software\\Other Vendor\\Mailer",
                                 "\\AppEvents\\EventLabels\\NGD_Ringout"})
            EXPECT_TRUE(image::FindKey(image::NetRegistry(user.keys), user.root + kept)) << user.who << kept;
    }
    EXPECT_TRUE(image::FindKey(image::NetRegistry(after.registry), bob));
    // Only ann's hive is mounted, from her own folder.
    for (const std::string& load : Events(machine, "hive-load"))
        EXPECT_EQ(load, "Purgent.UserHive\tC:\\Users\\ann\\ntuser.dat");
    EXPECT_EQ(Events(machine, "hive-load").size(), Events(machine, "hive-unload").size());
}

// The DLLs a run deletes take their [dll] sections with them, so the saved
// machine is an image that loads again.
TEST(RunPurgentOnSim, TheSavedMachineNamesOnlyFilesItHolds) {
    const image::MachineImage seeded = image::LoadMachineImage(std::string(PURGENT_TEST_DATA) + "/com-servers");
    SimMachine machine(seeded);
    RunPurgentOnSim(machine, {"/sn"});
    const image::MachineImage saved = machine.SaveImage();
    EXPECT_LT(saved.machine.dlls.size(), seeded.machine.dlls.size());
    for (const image::DllEntry& dll : saved.machine.dlls)
        EXPECT_NE(image::FindDriveItem(saved.drive, dll.path), nullptr) << dll.path;
}

}  // namespace
}  // namespace purgent::sim
