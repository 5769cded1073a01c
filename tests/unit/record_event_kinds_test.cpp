// Each kind of event the recorder writes, on its own: the run log and the
// simulator's trace come from the same recorder, so comparing the two can
// never show a fault of the recorder itself. An operation that fails writes
// nothing.
#include <gtest/gtest.h>

#include <functional>

#include "platform/record/event_recorder.h"
#include "platform/record/recorded_platform.h"
#include "platform/sim/sim_machine.h"
#include "registry_test_machine.h"
#include "run_image_builder.h"

namespace purgent::testing {
namespace {

using Lines = std::vector<std::string>;

image::MachineImage Workstation() {
    image::MachineImage image = ImageOf(
        "[HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise]\n\"Path\"=\"C:\\\\novell\"\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise\\Client]\n",
        {HiveFile("ann", "[HKEY_CURRENT_USER\\Software\\Novell]\n")});
    AddDriveItem(image, {"C:\\novell\\grpwise.exe", false, {}});
    AddDriveItem(image, {"C:\\novell\\empty", true, {}});
    AddDriveItem(image, {"C:\\setup.exe", false, {}});
    image.machine.windows.push_back({"GroupWise", "", false, "", {}});
    return image;
}

RegKey Open(Platform& platform, const std::string& path) {
    RegKey key = 0;
    platform.registry.OpenKey(HkeyLocalMachine, path, key);
    return key;
}

std::vector<std::uint8_t> Bytes(std::initializer_list<std::uint8_t> bytes) { return bytes; }

TEST(RecordedEvents, EachKindIsWrittenWithItsFieldsAndOnlyWhenItHappened) {
    const std::string gw = "Software\\Novell\\GroupWise";
    const struct {
        const char* what;
        std::function<void(Platform&)> act;
        Lines lines;
    } cases[] = {
        {"string value", [&](Platform& p) { p.registry.SetValue(Open(p, gw), "V", RegSz, Bytes({'a', 'b', 0})); },
         {"reg-set-value\tHKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise\tV\tab"}},
        {"number value", [&](Platform& p) { p.registry.SetValue(Open(p, gw), "N", RegDword, Bytes({1, 1, 0, 0})); },
         {"reg-set-value\tHKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise\tN\t257"}},
        {"binary value", [&](Platform& p) { p.registry.SetValue(Open(p, gw), "B", RegBinary, Bytes({0xab, 1})); },
         {"reg-set-value\tHKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise\tB\tab,01"}},
        {"key", [&](Platform& p) { p.registry.DeleteKey(HkeyLocalMachine, gw + "\\Client"); },
         {"reg-delete-key\tHKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise\\Client"}},
        {"missing key", [&](Platform& p) { p.registry.DeleteKey(HkeyLocalMachine, gw + "\\None"); }, {}},
        {"value", [&](Platform& p) { p.registry.DeleteValue(Open(p, gw), "Path"); },
         {"reg-delete-value\tHKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise\tPath"}},
        {"missing value", [&](Platform& p) { p.registry.DeleteValue(Open(p, gw), "None"); }, {}},
        {"hive",
         [](Platform& p) {
             p.registry.EnableRestorePrivilege();
             p.registry.LoadKey(HkeyUsers, "Purgent.UserHive", "C:\\Documents and Settings\\ann\\ntuser.dat");
             p.registry.UnLoadKey(HkeyUsers, "Purgent.UserHive");
             p.registry.UnLoadKey(HkeyUsers, "Purgent.UserHive");
         },
         {"hive-load\tPurgent.UserHive\tC:\\Documents and Settings\\ann\\ntuser.dat", "hive-unload\tPurgent.UserHive"}},
        {"attributes",
         [](Platform& p) {
             p.files.SetAttributes("C:\\novell\\grpwise.exe", FileAttrReadOnly);
             p.files.SetAttributes("C:\\novell\\grpwise.exe", FileAttrReadOnly);
         },
         {"file-attr\tC:\\novell\\grpwise.exe\t1"}},
        {"file",
         [](Platform& p) {
             p.files.RemoveFile("C:\\novell\\grpwise.exe");
             p.files.RemoveFile("C:\\novell\\grpwise.exe");
         },
         {"file-delete\tC:\\novell\\grpwise.exe"}},
        {"folder",
         [](Platform& p) {
             p.files.RemoveFolder("C:\\novell\\empty");
             p.files.RemoveFolder("C:\\novell");
         },
         {"dir-remove\tC:\\novell\\empty"}},
        {"boxes",
         [](Platform& p) {
             p.messages.ShowMessage("Purgent - Completed");
             p.messages.ShowError("Invalid data type for 'Path'.");
         },
         {"message\tPurgent - Completed", "error\tInvalid data type for 'Path'."}},
        {"programs",
         [](Platform& p) {
             p.programs.RunAndWait("C:\\setup.exe", "C:\\setup.exe /q");
             p.programs.RunAndWait("C:\\absent.exe", "C:\\absent.exe");
             p.programs.Sleep(2000);
         },
         {"launch\tC:\\setup.exe\tC:\\setup.exe /q", "wait\t2000"}},
        {"processes and windows",
         [](Platform& p) {
             p.processes.KillFinished("grpwise.exe", 603);
             p.windows.EnumWindows([&](WindowHandle window) {
                 p.windows.SendCloseRequest(window);
                 return true;
             });
         },
         {"kill\tgrpwise.exe\t603", "close-window\tGroupWise"}},
        {"discoveries",
         [](Platform& p) {
             p.environment.LocationFound("GroupWiseDir", "C:\\novell\\");
             p.environment.ProfileFound(2, "ann");
         },
         {"location\tGroupWiseDir\tC:\\novell\\", "profile\t2\tann"}},
    };
    for (const auto& c : cases) {
        sim::SimMachine machine(Workstation());
        EventRecorder recorder;
        RecordedPlatform recorded(machine.GetPlatform(), recorder);
        c.act(recorded.Get());
        EXPECT_EQ(recorder.Lines(), c.lines) << c.what;
    }
}

// A change refused is a note in the run log (never an event of the trace),
// with the Windows error; one with nothing to do is not.
TEST(RecordedEvents, ARefusedChangeIsANoteInTheRunLogOnly) {
    const struct {
        const char* what;
        std::function<void(Platform&)> act;
        std::string note;
    } cases[] = {
        {"held file", [](Platform& p) { p.files.RemoveFile("C:\\novell\\held.dll"); },
         "# failed\tfile-delete\tC:\\novell\\held.dll\t32"},
        {"read-only file", [](Platform& p) { p.files.RemoveFile("C:\\novell\\readme.txt"); },
         "# failed\tfile-delete\tC:\\novell\\readme.txt\t5"},
        {"missing file", [](Platform& p) { p.files.RemoveFile("C:\\novell\\none.txt"); }, ""},
        {"folder not empty", [](Platform& p) { p.files.RemoveFolder("C:\\novell"); }, ""},
        {"protected key", [](Platform& p) { p.registry.DeleteKey(HkeyLocalMachine, "Software\\Novell\\Locked"); },
         "# failed\treg-delete-key\tHKEY_LOCAL_MACHINE\\Software\\Novell\\Locked\t5"},
        {"missing key", [](Platform& p) { p.registry.DeleteKey(HkeyLocalMachine, "Software\\Novell\\None"); }, ""},
        {"missing value",
         [](Platform& p) { p.registry.DeleteValue(Open(p, "Software\\Novell\\GroupWise"), "None"); }, ""},
    };
    for (const auto& c : cases) {
        image::MachineImage image = Workstation();
        AddDriveItem(image, {"C:\\novell\\held.dll", false, {}});
        AddDriveItem(image, {"C:\\novell\\readme.txt", false, {}});
        image.machine.locked.push_back("C:\\novell\\held.dll");
        image.machine.attributes.push_back({"C:\\novell\\readme.txt", FileAttrReadOnly});
        image.machine.denied.push_back("HKEY_LOCAL_MACHINE\\Software\\Novell\\Locked");
        sim::SimMachine machine(image);
        EventRecorder recorder;
        RecordedPlatform recorded(machine.GetPlatform(), recorder);
        Platform& platform = recorded.Get();
        ASSERT_EQ(recorder.StartLog(platform.files, platform.text, "C:\\run.log", {"# header"}), WriteRefusal::None);
        c.act(platform);
        EXPECT_EQ(recorder.Lines(), Lines{}) << c.what;
        const image::MachineImage after = machine.SaveImage();
        const image::DriveItem* log = image::FindDriveItem(after.drive, "C:\\run.log");
        ASSERT_NE(log, nullptr) << c.what;
        const std::string text(log->contents.begin(), log->contents.end());
        EXPECT_EQ(text, "# header\n" + (c.note.empty() ? "" : c.note + "\n")) << c.what;
        EXPECT_EQ(recorder.FailureNotes(), c.note.empty() ? Lines{} : Lines{c.note}) << c.what;
    }
}

// A program started by the run may act on the machine while the run waits for
// it: its events follow its launch line, and without a start there is none.
TEST(RecordedEvents, ALaunchedProgramsEventsFollowItsLaunchLine) {
    for (const bool started : {true, false}) {
        EventRecorder recorder;
        recorder.Event("wait", {"2000"});
        recorder.BeginLaunch();
        recorder.Event("reg-delete-key", {"HKEY_CLASSES_ROOT\\CLSID\\{1}"});
        recorder.EndLaunch(started, "C:\\WINDOWS\\system32\\regsvr32.exe", "regsvr32 /u /s x.dll");
        recorder.Event("exit", {"0"});
        Lines expected = {"wait\t2000", "reg-delete-key\tHKEY_CLASSES_ROOT\\CLSID\\{1}", "exit\t0"};
        if (started)
            expected.insert(expected.begin() + 1,
                            "launch\tC:\\WINDOWS\\system32\\regsvr32.exe\tregsvr32 /u /s x.dll");
        EXPECT_EQ(recorder.Lines(), expected) << started;
    }
}

TEST(RecordedEvents, TheExitLineEndsTheRunWithItsStatus) {
    sim::SimMachine machine(Workstation());
    EventRecorder recorder;
    RecordedPlatform recorded(machine.GetPlatform(), recorder);
    EXPECT_THROW(recorded.Get().programs.ExitProcess(1), sim::SimProcessExit);
    EXPECT_EQ(recorder.Lines(), Lines{"exit\t1"});
}

}  // namespace
}  // namespace purgent::testing
