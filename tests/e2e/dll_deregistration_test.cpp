// The COM deregistration of the real purgent.exe on a Wine machine, with the
// machine's own regsvr32: copies of the tests' COM server, registered under
// client names in a GroupWise folder whose path holds a blank, in system32
// and in the Messenger folder, lose their registrations; the excluded
// address-book DLL and a bystander outside the passes keep theirs; and
// purgent-sim, applying the image's [dll] sections, leaves the same registry.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "image/machine_image.h"
#include "image_runs.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kTimeoutSeconds = 300;
constexpr int kClosedByRequest = 10;  // fakeproc's status when its window closed
const std::string kImage = std::string(PURGENT_TEST_DATA) + "/com-servers";
// Files are kept: the registrations alone tell whether the tool ran.
const std::vector<std::string> kPurgentArgs = {"/sn", "/kf"};

struct Registration {
    const char* file;
    bool kept;
};
const Registration kRegistrations[] = {
    {"gwenv1.dll", false}, {"GWCMA1.DLL", false}, {"GWABDLG.DLL", true},
    {"gwtest32.dll", false}, {"nmapi.dll", false}, {"vendorcom.dll", true},
};

// The key the image names for a copy's registration (a snapshot reads the
// named keys, not their parents).
std::string ClassKey(const std::string& file) {
    return "HKEY_LOCAL_MACHINE\\Software\\Classes\\PurgentTest." + file + "\\InprocServer32";
}

void ExpectRegistrations(const image::RegistryKeys& keys, const std::string& who) {
    for (const Registration& registration : kRegistrations)
        EXPECT_EQ(image::FindKey(keys, ClassKey(registration.file)) != nullptr, registration.kept)
            << who << ": " << registration.file;
}

// On WoW64 the 32-bit seed.exe and purgent.exe meet the redirected system
// folder (gwtest32.dll lies in SysWOW64), the 32-bit regsvr32 and the 32-bit
// registry view, which the 32-bit snapshot.exe reads back.
using DllDeregistrationOnEachBuild = ::testing::TestWithParam<E2eTarget>;

TEST_P(DllDeregistrationOnEachBuild, RegsvrRunsOnEveryPassedDllSaveTheExcludedOneAndTheSimAgrees) {
    const std::string work = ArtifactDir() + "/dll-deregistration-" + GetParam().name;
    fs::remove_all(work);
    fs::create_directories(work);
    const image::RegistryKeys seeded = image::LoadMachineImage(kImage).registry;
    const image::RegistryKeys real = CleanOnWine(kImage, kPurgentArgs, work + "/wine", GetParam()).registry;
    const image::RegistryKeys simulated = CleanOnSim(kImage, kPurgentArgs, work + "/sim").registry;
    ExpectSameEvents(work + "/wine", work + "/sim");
    ExpectRegistrations(real, "wine");
    ExpectRegistrations(simulated, "sim");
    ExpectSameOnNamedData(seeded, real, simulated, "machine");
}

PURGENT_E2E_ON_WIN64_AND_WIN32(DllDeregistrationOnEachBuild);
INSTANTIATE_TEST_SUITE_P(Wow64, DllDeregistrationOnEachBuild, ::testing::Values(kWow64Target));

// A first run finds no DLL and runs no tool: the window stays. With a DLL in
// the client's default folder, the window is asked to close after the tool.
TEST(DllDeregistrationE2e, ANovellAppWindowIsClosedAfterAToolRun) {
    WinePrefix prefix;
    const std::string fake = prefix.UnixPath("C:\\") + "/nal.exe";
    fs::copy_file(Win64Exe("fakeproc.exe"), fake);
    WineProcess launcher = prefix.Start({"C:\\nal.exe", "Novell Application Launcher"});
    ASSERT_TRUE(WaitForWindow("Novell Application Launcher", 120)) << prefix.Output();
    const std::vector<std::string> purgent = {Win64Exe("purgent.exe"), "/sn", "/kf"};

    EXPECT_EQ(prefix.Run(purgent, kTimeoutSeconds), 0) << prefix.Output();
    EXPECT_TRUE(launcher.Running());

    const std::string client = prefix.UnixPath("C:\\") + "/novell/groupwise";
    fs::create_directories(client);
    fs::copy_file(Win64Exe("comserver.dll"), client + "/gwenv1.dll");
    EXPECT_EQ(prefix.Run(purgent, kTimeoutSeconds), 0) << prefix.Output();
    EXPECT_EQ(launcher.Wait(30), kClosedByRequest) << prefix.Output();
}

}  // namespace
}  // namespace purgent::e2e
