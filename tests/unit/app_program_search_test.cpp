#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/program_search.h"

namespace purgent {
namespace {

class FakeEnvironment : public EnvironmentService {
public:
    std::optional<std::string> Variable(const std::string& name) override {
        auto it = variables.find(name);
        if (it == variables.end()) return std::nullopt;
        return it->second;
    }
    std::string CommandLine() override { return "purgent.exe"; }
    bool PlatformId(std::uint32_t& id) override {
        id = PlatformWinNT;
        return true;
    }
    std::string WindowsDirectory() override { return "C:\\WINDOWS"; }
    std::map<std::string, std::string> variables;
};

class FakePrograms : public ProgramService {
public:
    std::string ShortPathName(const std::string&) override { return ""; }
    bool RunAndWait(const std::string&, const std::string&) override { return true; }
    bool FileExists(const std::string& path) override { return files.count(path) > 0; }
    void Sleep(unsigned) override {}
    [[noreturn]] void ExitProcess(int) override { throw std::logic_error("exit"); }
    std::set<std::string> files;
};

class ProgramSearchTest : public ::testing::Test {
protected:
    ProgramSearchTest() {
        environment.variables["PATH"] = "C:\\WINDOWS\\system32;;C:\\tools\\";
        environment.variables["COMSPEC"] = "C:\\WINDOWS\\system32\\cmd.exe";
    }
    std::optional<ProgramStart> Find(const std::string& program) {
        return FindProgram(program, program + " a ", environment, programs);
    }

    FakeEnvironment environment;
    FakePrograms programs;
};

TEST_F(ProgramSearchTest, BareNameIsFoundAlongPathWithExeAdded) {
    programs.files = {"C:\\tools\\setup.EXE", "C:\\tools\\setup.BAT"};
    auto start = Find("setup");
    ASSERT_TRUE(start);
    EXPECT_EQ(start->application, "C:\\tools\\setup.EXE");
    EXPECT_EQ(start->commandLine, "setup a ");
}

TEST_F(ProgramSearchTest, EarlierFolderWinsOverAnEarlierExtension) {
    programs.files = {"C:\\WINDOWS\\system32\\setup.CMD", "C:\\tools\\setup.EXE"};
    auto start = Find("setup");
    ASSERT_TRUE(start);
    EXPECT_EQ(start->application, "C:\\WINDOWS\\system32\\cmd.exe");
    EXPECT_EQ(start->commandLine, "C:\\WINDOWS\\system32\\cmd.exe /c \"\"setup\" a \"");
}

TEST_F(ProgramSearchTest, CurrentFolderComesBeforePath) {
    programs.files = {"setup.exe", "C:\\tools\\setup.exe"};
    EXPECT_EQ(Find("setup.exe")->application, "setup.exe");
}

TEST_F(ProgramSearchTest, PathWithFolderOrExtensionIsTakenAsGiven) {
    programs.files = {"C:\\tools\\setup.exe", "D:\\x\\setup.EXE", "D:\\x\\run.bat"};
    EXPECT_FALSE(Find("x\\setup.exe"));
    EXPECT_EQ(Find("D:\\x\\setup")->application, "D:\\x\\setup.EXE");
    EXPECT_FALSE(Find("D:\\x\\setup.exe.old"));
    auto batch = Find("D:\\x\\run.bat");
    ASSERT_TRUE(batch);
    EXPECT_EQ(batch->commandLine, "C:\\WINDOWS\\system32\\cmd.exe /c \"\"D:\\x\\run.bat\" a \"");
}

// The interpreter would split an unquoted path at "&", "^", "(", ")" or "%".
TEST_F(ProgramSearchTest, ABatchFileIsQuotedWhateverItsPathHolds) {
    const std::string cmd = "C:\\WINDOWS\\system32\\cmd.exe /c ";
    const struct {
        std::string program, commandLine, started;
    } cases[] = {
        {"C:\\R&D\\go.bat", "C:\\R&D\\go.bat a", cmd + "\"\"C:\\R&D\\go.bat\" a\""},
        {"C:\\a^b\\go.cmd", "C:\\a^b\\go.cmd", cmd + "\"\"C:\\a^b\\go.cmd\"\""},
        {"C:\\x(1)\\go.bat", "C:\\x(1)\\go.bat", cmd + "\"\"C:\\x(1)\\go.bat\"\""},
        {"C:\\100%\\go.bat", "C:\\100%\\go.bat", cmd + "\"\"C:\\100%\\go.bat\"\""},
        {"C:\\My Tools\\go.bat", "\"C:\\My Tools\\go.bat\" a", cmd + "\"\"C:\\My Tools\\go.bat\" a\""},
    };
    for (const auto& c : cases) {
        programs.files = {c.program};
        const auto start = FindProgram(c.program, c.commandLine, environment, programs);
        ASSERT_TRUE(start) << c.commandLine;
        EXPECT_EQ(start->commandLine, c.started) << c.commandLine;
    }
}

TEST_F(ProgramSearchTest, DotInAFolderNameIsNotAnExtension) {
    programs.files = {"C:\\v1.2\\setup.EXE"};
    EXPECT_TRUE(Find("C:\\v1.2\\setup"));
}

TEST_F(ProgramSearchTest, NothingToStartWhenMissingEmptyOrNoInterpreter) {
    programs.files = {".EXE", "C:\\tools\\.EXE", "C:\\tools\\go.bat"};
    EXPECT_FALSE(Find(""));
    EXPECT_FALSE(Find("absent"));
    environment.variables.erase("COMSPEC");
    EXPECT_FALSE(Find("go.bat"));
}

}  // namespace
}  // namespace purgent
