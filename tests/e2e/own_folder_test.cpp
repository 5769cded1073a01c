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
        if (verdict == "own" || verdict == "refused") verdicts[line.substr(tab + 1)] = verdict;
    }
    return verdicts;
}

// The last value the probe printed under key ("short").
std::string Probed(WinePrefix& prefix, const std::vector<std::string>& args, const std::string& key) {
    std::vector<std::string> command = {Win64Exe("ownfolder_probe.exe")};
    command.insert(command.end(), args.begin(), args.end());
    prefix.Run(command, kTimeoutSeconds);
    std::istringstream lines(prefix.Output());
    std::string value;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(key + "\t", 0) == 0) value = line.substr(key.size() + 1);
    if (!value.empty() && value.back() == '\r') value.pop_back();
    return value;
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
    const std::string programFiles = Probed(prefix, {"--short", "C:\\Program Files"}, "short");
    const std::string commonFiles = Probed(prefix, {"--short", "C:\\Program Files\\Common Files"}, "short");
    const std::string documents = Probed(prefix, {"--short", "C:\\Documents and Settings\\ann"}, "short");
    // The user's desktop is left to the unit tests: Wine's desktop writes the
    // user's shell folders anew at every start, so a run may find none.
    ASSERT_FALSE(programFiles.empty() || commonFiles.empty() || documents.empty())
        << prefix.Output();
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
