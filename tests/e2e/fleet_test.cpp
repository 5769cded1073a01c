// purgent-fleet.exe, the Windows console program of the release package,
// under wine64 on a folder of logs named beyond ASCII (the real
// purgent.exe's among them): the same CSV and exit status as the native
// build's, its summary on the console.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../unit/fleet_logs.h"
#include "fleet/fleet_cli.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

namespace fs = std::filesystem;
namespace ft = fleet::test;

// The logs' folder in C:\, named beyond ASCII as the program's arguments then are.
constexpr const char* kLogsName = "K\xC3\xB6ln logs";
const std::string kLogs = std::string("C:\\") + kLogsName;

void Write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string Read(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// The native CSV as the Windows program names the same files: the host
// folder as kLogs, backslashes between the names.
std::string AsOnWindows(std::string csv, const std::string& hostLogs) {
    for (std::size_t at = csv.find(hostLogs); at != std::string::npos; at = csv.find(hostLogs, at)) {
        std::size_t end = csv.find("\r\n", at);
        std::replace(csv.begin() + static_cast<std::ptrdiff_t>(at), csv.begin() + static_cast<std::ptrdiff_t>(end),
                     '/', '\\');
        csv.replace(at, hostLogs.size(), kLogs);
    }
    return csv;
}

TEST(FleetE2e, TheWindowsProgramGivesTheNativeBuildsCsvAndStatus) {
    WinePrefix prefix;
    const fs::path logs = fs::path(prefix.UnixPath("C:\\")) / kLogsName;
    Write(logs / "site a" / "pc01.log", ft::RunWithLog(ft::DemoImage(), "/sn").log);
    Write(logs / "site a" / "pc02.log", ft::RunWithLog(ft::HaltingDemo(), "/sn").log);
    Write(logs / "site b" / "pc03.LOG", ft::WithoutExitLine(ft::RunWithLog(ft::DemoImage(), "/sn").log));
    const std::string clean = ft::RunWithLog(ft::BareImage(), "/sn").log;
    Write(logs / "site b" / "pc04.log", clean + clean);  // a rerun
    Write(logs / "setup.log", "setup started\r\n");
    // The real program's own log of a run with nothing to clean.
    ASSERT_EQ(prefix.Run({Win64Exe("purgent.exe"), "/sn", "/log=" + kLogs + "\\real.log"}, 120), 0) << prefix.Output();

    std::ostringstream out, err;
    const std::string nativeCsv = prefix.UnixPath("C:\\") + "/native.csv";
    const int nativeStatus = fleet::RunFleet({"--csv", nativeCsv, logs.string()}, out, err);
    EXPECT_EQ(nativeStatus, fleet::kExitAttention) << err.str();

    EXPECT_EQ(prefix.Run({Win64Exe("purgent-fleet.exe"), "--csv", "C:\\fleet.csv", kLogs}, 120), nativeStatus)
        << prefix.Output();
    const std::string windowsCsv = Read(prefix.UnixPath("C:\\fleet.csv"));
    EXPECT_EQ(windowsCsv, AsOnWindows(Read(nativeCsv), logs.string()));
    EXPECT_NE(windowsCsv.find(kLogs + "\\real.log"), std::string::npos) << windowsCsv;
    EXPECT_NE(windowsCsv.find(kLogs + "\\site b\\pc03.LOG"), std::string::npos) << windowsCsv;
    EXPECT_NE(prefix.Output().find("purgent-fleet: 5 run logs (6 runs), 1 other file"), std::string::npos)
        << prefix.Output();
}

}  // namespace
}  // namespace purgent::e2e
