// What Windows reads of the built purgent.exe: the version information shown
// in Explorer, and the manifest that asks for an administrator and themed
// controls.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "image_runs.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

TEST(ReleaseResources, VersionAndManifestAreEmbedded) {
    WinePrefix prefix;
    const std::string out = ArtifactDir() + "/exeinfo.txt";
    ASSERT_EQ(prefix.Run({Win64Exe("exeinfo.exe"), WindowsPath(Win64Exe("purgent.exe")), WindowsPath(out)}, 120), 0)
        << prefix.Output();
    std::ifstream file(out);
    std::stringstream text;
    text << file.rdbuf();
    const std::string info = text.str();
    for (const char* expected :
         {"FileVersion=3.5.0.0\n", "ProductName=Purgent\n", "CompanyName=Brenolith Inc\n",
          "OriginalFilename=purgent.exe\n", "ProductVersion=3.5.0.0\n", "level=\"requireAdministrator\"",
          "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""})
        EXPECT_NE(info.find(expected), std::string::npos) << expected << " not in:\n" << info;
}

}  // namespace
}  // namespace purgent::e2e
