// The own-folder rule on a real file system (Wine): short names, trailing dots
// and blanks, administrative shares and the names the machine gives its
// shared folders are resolved as Windows resolves them, and refused.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "image_runs.h"
#include "wine_harness.h"

namespace purgent::e2e {
namespace {

constexpr int kTimeoutSeconds = 120;
const std::string kImage = std::string(PURGENT_TEST_DATA) + "/localised-roots";

// The verdicts ownfolder_probe.exe printed, by folder.
std::map<std::string, std::string> Verdicts(const std::string& output) {
    std::map<std::string, std::string> verdicts;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto tab = line.find('\t');
        if (tab == std::string::npos) continue;
        const std::string verdict = line.substr(0, tab);
        if (verdict == "own" || verdict == "refused" || verdict == "short") verdicts[line.substr(tab + 1)] = verdict;
    }
    return verdicts;
}

// The machine's own short name of a path.
std::string ShortName(WinePrefix& prefix, const std::string& path) {
    prefix.Run({Win64Exe("ownfolder_probe.exe"), "--short", path}, kTimeoutSeconds);
    std::istringstream lines(prefix.Output());
    std::string shortName;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("short\t", 0) == 0) shortName = line.substr(6);
    if (!shortName.empty() && shortName.back() == '\r') shortName.pop_back();
    return shortName;
}

struct Spelling {
    std::string folder;
    bool own;
};

void ExpectVerdicts(WinePrefix& prefix, const std::vector<std::string>& options, const std::vector<Spelling>& cases) {
    std::vector<std::string> command = {Win64Exe("ownfolder_probe.exe")};
    command.insert(command.end(), options.begin(), options.end());
    for (const Spelling& c : cases) command.push_back(c.folder);
    ASSERT_EQ(prefix.Run(command, kTimeoutSeconds), 0) << prefix.Output();
    const auto verdicts = Verdicts(prefix.Output());
    for (const Spelling& c : cases) {
        const auto found = verdicts.find(c.folder);
        ASSERT_NE(found, verdicts.end()) << c.folder << "\n" << prefix.Output();
        EXPECT_EQ(found->second, c.own ? "own" : "refused") << c.folder;
    }
}

TEST(OwnFolderE2e, EverySpellingOfASystemFolderIsRefused) {
    WinePrefix prefix;
    ASSERT_EQ(prefix.Run({Win64Exe("seed.exe"), WindowsPath(kImage)}, kTimeoutSeconds), 0) << prefix.Output();
    // Wine makes up short names of its own; the machine's are tested beside
    // the ones the issue names.
    const std::string programFiles = ShortName(prefix, "C:\\Program Files");
    const std::string commonFiles = ShortName(prefix, "C:\\Program Files\\Common Files");
    const std::string documents = ShortName(prefix, "C:\\Documents and Settings\\ann");
    ASSERT_FALSE(programFiles.empty() || commonFiles.empty() || documents.empty()) << prefix.Output();
    ExpectVerdicts(prefix, {},
                   {
                       {"C:\\PROGRA~1\\", false},
                       {"C:\\PROGRA~1\\COMMON~1\\", false},
                       {"C:\\DOCUME~1\\ann\\", false},
                       {programFiles + "\\", false},
                       {commonFiles + "\\", false},
                       {documents + "\\", false},
                       {"C:\\WINDOWS.\\system32\\", false},
                       {"C:\\WINDOWS \\", false},
                       {"C:\\Program Files.\\", false},
                       {"C:\\Programme\\", false},
                       {"C:\\Archivos de programa\\", false},
                       {"C:\\Dokumente und Einstellungen\\ann\\", false},
                       {"\\\\localhost\\c$\\WINDOWS\\system32\\", false},
                       {"C:\\Program Files\\Common Files\\System\\", false},
                       {"C:\\Programme\\Novell\\GroupWise\\", true},
                       {"C:\\Novell\\GroupWise\\", true},
                   });
}

TEST(OwnFolderE2e, WithoutWindirTheWindowsFolderIsStillRefused) {
    WinePrefix prefix;
    ExpectVerdicts(prefix, {"--no-windir"}, {{"C:\\WINDOWS\\system32\\", false}, {"C:\\Novell\\GroupWise\\", true}});
}

}  // namespace
}  // namespace purgent::e2e
