// The record of the program folders (HKEY_LOCAL_MACHINE\Software\Purgent):
// where a run after an interrupted one finds the client, what it still
// refuses there, and when a run writes and removes the record.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "image/ansi_text.h"
#include "param_name.h"
#include "purgent_sim/run_purgent.h"
#include "registry_test_machine.h"
#include "run_image_builder.h"

namespace purgent::testing {
namespace {

using Paths = std::vector<std::string>;

const std::string kRecord = R"(HKEY_LOCAL_MACHINE\Software\Purgent)";
const std::string kLog = R"(C:\run.log)";
// A value the run reads as text: another type stops it with an error.
const std::string kHandoffPriorities =
    R"(HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Telephony\HandoffPriorities)";

const std::string kVerified = "dword:00000001";
std::string RecordKey(const std::string& values) { return KeyText(kRecord, values); }
std::string Folder(const char* name, const std::string& folder, bool verified) {
    return RegString(name, folder) + (verified ? "\"" + std::string(name) + "Verified\"=" + kVerified + "\n" : "");
}

image::MachineImage WithFiles(const std::string& registry, const Paths& files) {
    image::MachineImage image = ImageOf(registry);
    for (const std::string& file : files) AddDriveItem(image, {file, false, {'x'}});
    return image;
}

// The lines of the run log the run wrote at kLog.
std::vector<std::string> LogLines(const image::MachineImage& after) {
    const image::DriveItem* log = image::FindDriveItem(after.drive, kLog);
    if (!log) return {};
    return image::SplitLines(std::string(log->contents.begin(), log->contents.end()));
}

bool HasLineBeginning(const std::vector<std::string>& lines, const std::string& start) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(start, 0) == 0; });
}

// ------------------------------------------- where a run after a cut looks

struct ResumeCase {
    const char* what;
    std::string registry;  // App Paths and the interrupted run's record
    Paths files;
    std::vector<image::ReparsePoint> links;
    Paths stay;
    Paths gone;
    std::string note;  // a log line begins with it
};

const ResumeCase kResumeCases[] = {
    {"App Paths gone: the folder the interrupted run verified is emptied",
     RecordKey(Folder("GroupWiseDir", R"(D:\Apps\GroupWise\)", true)),
     {R"(D:\Apps\GroupWise\notify.exe)", R"(D:\Apps\GroupWise\readme.txt)", R"(D:\Apps\GroupWise Archive\2019.db)"},
     {},
     {R"(D:\Apps\GroupWise Archive\2019.db)"},
     {R"(D:\Apps\GroupWise\notify.exe)", R"(D:\Apps\GroupWise\readme.txt)", R"(D:\Apps\GroupWise)"},
     "# resumed\tafter an interrupted run; GroupWiseDir D:\\Apps\\GroupWise\\ from its record: App Paths names none"},
    {"App Paths gone: Messenger's folder from the record",
     RecordKey(Folder("MessengerDir", R"(D:\Apps\Messenger\)", true)),
     {R"(D:\Apps\Messenger\readme.txt)", R"(D:\Apps\Messenger\LogFiles\nm.log)"},
     {},
     {},
     {R"(D:\Apps\Messenger\readme.txt)", R"(D:\Apps\Messenger\LogFiles\nm.log)", R"(D:\Apps\Messenger)"},
     "# resumed\tafter an interrupted run; MessengerDir D:\\Apps\\Messenger\\ from its record: App Paths names none"},
    {"a folder the interrupted run did not verify still has to show the program",
     RecordKey(Folder("GroupWiseDir", R"(D:\Data\)", false)),
     {R"(D:\Data\budget.xls)", R"(D:\Data\tool.dll)"},
     {},
     {R"(D:\Data\budget.xls)", R"(D:\Data\tool.dll)"},
     {},
     "# kept\tD:\\Data\tnone of the program's own files in it"},
    {"App Paths names another folder: the recorded one is not touched",
     GroupWiseAt(R"(D:\New\GroupWise)") + RecordKey(Folder("GroupWiseDir", R"(D:\Apps\GroupWise\)", true)),
     {R"(D:\New\GroupWise\grpwise.exe)", R"(D:\Apps\GroupWise\notify.exe)"},
     {},
     {R"(D:\Apps\GroupWise\notify.exe)"},
     {R"(D:\New\GroupWise\grpwise.exe)"},
     "# resumed\tafter an interrupted run"},
    {"App Paths still names the folder whose program files the interrupted run deleted",
     GroupWiseAt(R"(D:\Apps\GroupWise)") + RecordKey(Folder("GroupWiseDir", R"(D:\Apps\GroupWise\)", true)),
     {R"(D:\Apps\GroupWise\notify.exe)", R"(D:\Apps\GroupWise\readme.txt)"},
     {},
     {},
     {R"(D:\Apps\GroupWise\notify.exe)", R"(D:\Apps\GroupWise)"},
     "# resumed\tafter an interrupted run"},
    {"a recorded folder that is now a link is not followed",
     RecordKey(Folder("GroupWiseDir", R"(D:\Apps\GroupWise\)", true)),
     {R"(D:\Data\budget.xls)"},
     {{R"(D:\Apps\GroupWise)", R"(D:\Data)"}},
     {R"(D:\Data\budget.xls)"},
     {},
     "# kept\tD:\\Apps\\GroupWise\ta link to D:\\Data"},
    {"a recorded folder in a user's profile is refused",
     RecordKey(Folder("GroupWiseDir", R"(C:\Documents and Settings\kim\GroupWise\)", true)),
     {R"(C:\Documents and Settings\kim\GroupWise\notify.exe)"},
     {},
     {R"(C:\Documents and Settings\kim\GroupWise\notify.exe)"},
     {},
     "# kept\tC:\\Documents and Settings\\kim\\GroupWise\ta folder of the system"},
    {"a record whose folder is not text names none: the default folder",
     RecordKey("\"GroupWiseDir\"=dword:00000001\n"),
     {R"(C:\Novell\GroupWise\readme.txt)", R"(D:\Apps\GroupWise\notify.exe)"},
     {},
     {R"(D:\Apps\GroupWise\notify.exe)"},
     {R"(C:\Novell\GroupWise\readme.txt)"},
     "# resumed\tafter an interrupted run"},
};

class ResumeFromRecord : public ::testing::TestWithParam<ResumeCase> {};

TEST_P(ResumeFromRecord, TheRecordedFolderIsCleanedOnlyWhereItIsStillTheClients) {
    const ResumeCase& c = GetParam();
    image::MachineImage image = WithFiles(c.registry, c.files);
    for (const image::ReparsePoint& link : c.links)
        AddDriveItem(image, {link.link.substr(0, link.link.rfind('\\')), true, {}});
    image.machine.reparsePoints = c.links;
    sim::SimMachine machine(image);
    EXPECT_EQ(sim::RunPurgentOnSim(machine, {"/sn", "/log=" + kLog}), 0);

    const image::MachineImage after = machine.SaveImage();
    for (const std::string& path : c.stay) EXPECT_TRUE(IsThere(after, path)) << path << " went";
    for (const std::string& path : c.gone) EXPECT_FALSE(IsThere(after, path)) << path << " stayed";
    const std::vector<std::string> log = LogLines(after);
    EXPECT_TRUE(HasLineBeginning(log, c.note)) << "no line beginning " << c.note << " in\n"
                                               << ::testing::PrintToString(log);
    EXPECT_EQ(image::FindKey(after.registry, kRecord), nullptr) << "the completed run left its record";
}

INSTANTIATE_TEST_SUITE_P(Cases, ResumeFromRecord, ::testing::ValuesIn(kResumeCases), CaseName<ResumeCase>);

// ------------------------------------------------- when a run writes it

const std::string kClientOnD =
    GroupWiseAt(R"(D:\Apps\GroupWise)") + MessengerAt(R"(C:\WINDOWS)") +
    KeyText(R"(HKEY_LOCAL_MACHINE\Software\Novell\GroupWise)", RegString("Path", R"(D:\Apps\GroupWise)"));
const Paths kClientFiles = {R"(D:\Apps\GroupWise\grpwise.exe)", R"(C:\WINDOWS\notepad.exe)"};

struct RecordHolds {
    std::string groupWise;  // "" for no value
    bool groupWiseVerified;
    std::string messenger;
    bool messengerVerified;
};

struct LifecycleCase {
    const char* what;
    std::vector<std::string> args;
    std::size_t cutAfter;  // 0: the run goes to its end
    std::string registry;
    std::optional<RecordHolds> record;  // what the machine holds afterwards
};

// The ten processes' kills come first: change 11 is the first key deleted.
const LifecycleCase kLifecycleCases[] = {
    {"a completed run leaves none", {"/sn"}, 0, kClientOnD, std::nullopt},
    {"a completed run removes an interrupted one's",
     {"/sn"}, 0, kClientOnD + RecordKey(Folder("GroupWiseDir", R"(D:\Apps\GroupWise\)", true)), std::nullopt},
    {"written before the first key goes, with what was found and verified",
     {"/sn"}, 11, kClientOnD, RecordHolds{R"(D:\Apps\GroupWise\)", true, R"(C:\WINDOWS\)", false}},
    {"with the files kept as well",
     {"/sn", "/kf"}, 11, kClientOnD, RecordHolds{R"(D:\Apps\GroupWise\)", true, R"(C:\WINDOWS\)", false}},
    {"not before the processes are ended", {"/sn"}, 10, kClientOnD, std::nullopt},
    {"a run stopped on an error keeps it",
     {"/sn"}, 0, kClientOnD + KeyText(kHandoffPriorities, "\"RequestMakeCall\"=dword:00000001\n"),
     RecordHolds{R"(D:\Apps\GroupWise\)", true, R"(C:\WINDOWS\)", false}},
    {"a preview neither writes one nor removes one",
     {"/sn", "/whatif"}, 0, kClientOnD + RecordKey(Folder("MessengerDir", R"(D:\IM\)", false)),
     RecordHolds{"", false, R"(D:\IM\)", false}},
};

std::optional<RecordHolds> RecordIn(const image::RegistryKeys& registry) {
    if (!image::FindKey(registry, kRecord)) return std::nullopt;
    const auto text = [&](const char* name) {
        const std::string value = RegistryTestMachine::StringIn(registry, kRecord, name);
        return value == "<absent>" ? "" : value;
    };
    const auto verified = [&](const char* name) {
        const image::RegistryValue* value = image::FindValue(*image::FindKey(registry, kRecord), name);
        return value && value->data == image::Bytes{1, 0, 0, 0};
    };
    return RecordHolds{text("GroupWiseDir"), verified("GroupWiseDirVerified"), text("MessengerDir"),
                    verified("MessengerDirVerified")};
}

class FolderRecordLifecycle : public ::testing::TestWithParam<LifecycleCase> {};

TEST_P(FolderRecordLifecycle, TheRecordIsThereExactlyWhileARunIsUnfinished) {
    const LifecycleCase& c = GetParam();
    sim::SimMachine machine(WithFiles(c.registry, kClientFiles));
    if (c.cutAfter) machine.CutAfter(c.cutAfter);
    sim::RunPurgentOnSim(machine, c.args);
    const std::optional<RecordHolds> found = RecordIn(machine.SaveImage().registry);
    ASSERT_EQ(found.has_value(), c.record.has_value());
    if (!found) return;
    EXPECT_EQ(found->groupWise, c.record->groupWise);
    EXPECT_EQ(found->groupWiseVerified, c.record->groupWiseVerified);
    EXPECT_EQ(found->messenger, c.record->messenger);
    EXPECT_EQ(found->messengerVerified, c.record->messengerVerified);
}

INSTANTIATE_TEST_SUITE_P(Cases, FolderRecordLifecycle, ::testing::ValuesIn(kLifecycleCases),
                         CaseName<LifecycleCase>);

}  // namespace
}  // namespace purgent::testing
