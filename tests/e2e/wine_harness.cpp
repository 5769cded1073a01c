#include "wine_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <strings.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <utility>
#include <unistd.h>

extern char** environ;

namespace purgent::e2e {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Wine's own services stay quiet and never offer to download Mono or Gecko.
const char* const kWineDllOverrides = "mscoree,mshtml=;winemenubuilder.exe=d";
constexpr int kHelperTimeoutSeconds = 30;
// A template is up to 1.3 GB: one copy took 26 s on a busy machine, and
// other tests may be copying theirs at the same time.
constexpr int kCopyTimeoutSeconds = 300;
// Wine takes the Windows locale from the host's (even one the host lacks):
// the machine under test is an English Windows whatever the tester's shell.
const char* const kWineLocale = "LC_ALL=C.UTF-8";

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

// The template folder scripts/setup.sh caches for each kind of machine.
std::string TemplatePrefix(WineArch arch) {
    const char* name = arch == WineArch::Win32   ? "wineprefix-win32"
                       : arch == WineArch::Wow64 ? "wineprefix-wow64"
                                                 : "wineprefix";
    return EnvOr("PURGENT_CACHE", PURGENT_DEFAULT_CACHE) + "/" + name;
}

// Debian's loaders, named directly: with wine32 installed, the `wine` script
// would start every program through the emulated 32-bit loader, and in a
// prefix without a 32-bit half that cannot even start cmd or reg. wine64
// hands a 32-bit program on to the 32-bit loader beside it.
std::string LoaderFor(WineArch arch) {
    return arch == WineArch::Win32 ? "/usr/lib/wine/wine" : "/usr/lib/wine/wine64";
}

// A Wine command as the prefix's kind runs it: the 32-bit and WoW64 prefixes
// belong to the Wine of the 32-bit runner's root (its wineserver too).
std::vector<std::string> WineCommand(WineArch arch, std::vector<std::string> command) {
    if (arch != WineArch::Win64) command.insert(command.begin(), PURGENT_IN_I386_ROOT);
    return command;
}

// Starts argv[0] (searched in PATH) in its own process group, so that a
// timeout can kill it with all its children. Output is appended to logPath.
pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv,
            const std::string& logPath) {
    if (args.empty()) throw std::invalid_argument("no program to run");
    std::vector<std::string> envStrings(extraEnv);
    for (char** entry = environ; *entry; ++entry) envStrings.emplace_back(*entry);
    std::vector<char*> argv, envp;
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    for (const auto& var : envStrings) envp.push_back(const_cast<char*>(var.c_str()));
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    pid_t pid = fork();
    if (pid < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (pid == 0) {
        setpgid(0, 0);
        // Should the test binary itself be killed, its programs go with it.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        int in = open("/dev/null", O_RDONLY);
        int out = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (in < 0 || out < 0) _exit(126);
        dup2(in, 0);
        dup2(out, 1);
        dup2(out, 2);
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    setpgid(pid, pid);  // also here, so the group exists before any kill
    return pid;
}

// One word for sh, whatever it holds.
std::string ShellQuoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

int DecodeStatus(int raw) {
    if (WIFEXITED(raw)) return WEXITSTATUS(raw);
    return 128 + WTERMSIG(raw);
}

// Waits for pid up to the timeout; on timeout kills its process group.
int WaitOrKill(pid_t pid, int timeoutSeconds) {
    const auto deadline = Clock::now() + std::chrono::seconds(timeoutSeconds);
    int raw = 0;
    while (true) {
        pid_t done = waitpid(pid, &raw, WNOHANG);
        if (done == pid) return DecodeStatus(raw);
        if (done < 0 && errno != EINTR) return kTimedOut;
        if (Clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(-pid, SIGKILL);
    waitpid(pid, &raw, 0);
    return kTimedOut;
}

std::vector<std::string> WineEnv(const std::string& prefixDir) {
    return {"WINEPREFIX=" + prefixDir, "WINEDEBUG=-all",
            std::string("WINEDLLOVERRIDES=") + kWineDllOverrides, kWineLocale};
}

std::string LogPathFor(const std::string& prefixDir) {
    return fs::path(prefixDir).parent_path() / "wine.log";
}

void RunWineServer(const std::string& prefixDir, WineArch arch, const char* option) {
    pid_t pid = Spawn(WineCommand(arch, {"wineserver", option}), WineEnv(prefixDir), LogPathFor(prefixDir));
    WaitOrKill(pid, kHelperTimeoutSeconds);
}

// Ends every Windows process of the prefix, including Wine's own services.
void KillWineServer(const std::string& prefixDir, WineArch arch) { RunWineServer(prefixDir, arch, "-k"); }

// One virtual X screen for the whole test binary; Xvfb picks a free display
// number itself (-displayfd), so parallel test binaries never collide.
class XvfbEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        int fds[2];
        if (pipe(fds) != 0) FAIL() << "pipe: " << std::strerror(errno);
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            close(fds[0]);
            int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, 1);
            dup2(quiet, 2);
            std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                   "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string display = ReadDisplay(fds[0]);
        close(fds[0]);
        if (display.empty()) FAIL() << "Xvfb did not start (is the xvfb package installed?)";
        setenv("DISPLAY", (":" + display).c_str(), 1);
    }

    void TearDown() override {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        if (WaitOrKill(pid_, 10) == kTimedOut) kill(pid_, SIGKILL);
        pid_ = -1;
    }

private:
    static std::string ReadDisplay(int fd) {
        std::string display;
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        while (Clock::now() < deadline) {
            pollfd waiting{fd, POLLIN, 0};
            if (poll(&waiting, 1, 200) <= 0) continue;
            char c;
            if (read(fd, &c, 1) != 1) break;
            if (c == '\n') return display;
            display += c;
        }
        return {};
    }

    pid_t pid_ = -1;
};

[[maybe_unused]] ::testing::Environment* const xvfb =
    ::testing::AddGlobalTestEnvironment(new XvfbEnvironment);

// Finds name in dir ignoring case, as Windows would; name itself when absent.
std::string MatchEntry(const fs::path& dir, const std::string& name) {
    std::error_code error;
    if (fs::exists(dir / name, error)) return name;
    for (const auto& entry : fs::directory_iterator(dir, error)) {
        std::string candidate = entry.path().filename().string();
        if (strcasecmp(candidate.c_str(), name.c_str()) == 0) return candidate;
    }
    return name;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Output of a short host command (empty when it fails or hangs).
std::string Capture(const std::vector<std::string>& args) {
    std::string path = (fs::temp_directory_path() / "purgent-capture-XXXXXX").string();
    int fd = mkstemp(path.data());
    if (fd < 0) return {};
    close(fd);
    int status = WaitOrKill(Spawn(args, {}, path), kHelperTimeoutSeconds);
    std::string output = status == 0 ? ReadFile(path) : std::string();
    fs::remove(path);
    return output;
}

// Ids of the X windows whose title contains titlePart.
std::vector<std::string> WindowIdsTitled(const std::string& titlePart) {
    std::vector<std::string> ids;
    std::istringstream tree(Capture({"xwininfo", "-root", "-tree"}));
    for (std::string line; std::getline(tree, line);) {
        // e.g.   0x200004 "Untitled - Notepad": ("notepad.exe" "Wine")  640x480+0+0 ...
        auto titleStart = line.find('"');
        auto titleEnd = line.find("\":", titleStart == std::string::npos ? 0 : titleStart + 1);
        if (titleStart == std::string::npos || titleEnd == std::string::npos) continue;
        if (line.substr(titleStart + 1, titleEnd - titleStart - 1).find(titlePart) == std::string::npos) continue;
        std::istringstream fields(line);
        std::string id;
        fields >> id;
        ids.push_back(id);
    }
    return ids;
}

// Wine links a user's Desktop, Documents, Music... to the host's folders of
// those names in $HOME: each becomes an empty folder of the prefix, so that
// no test writes into the host's home and the program sees a profile as
// Windows makes it.
void UnlinkHomeFolders(const fs::path& prefixDir) {
    for (const auto& user : fs::directory_iterator(prefixDir / "drive_c" / "users"))
        for (const auto& entry : fs::directory_iterator(user.path()))
            if (entry.is_symlink()) {
                fs::remove(entry.path());
                fs::create_directory(entry.path());
            }
}

}  // namespace

WineProcess::WineProcess(pid_t pid, std::string prefixDir, WineArch arch)
    : pid_(pid), prefixDir_(std::move(prefixDir)), arch_(arch) {}

WineProcess::WineProcess(WineProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)),
      prefixDir_(std::move(other.prefixDir_)),
      arch_(other.arch_),
      status_(other.status_) {}

WineProcess::~WineProcess() {
    if (pid_ > 0) Kill();
}

int WineProcess::Wait(int timeoutSeconds) {
    if (pid_ <= 0) return status_;
    status_ = WaitOrKill(pid_, timeoutSeconds);
    pid_ = -1;
    if (status_ == kTimedOut) KillWineServer(prefixDir_, arch_);
    return status_;
}

bool WineProcess::Running() {
    if (pid_ <= 0) return false;
    int raw = 0;
    if (waitpid(pid_, &raw, WNOHANG) != pid_) return true;
    status_ = DecodeStatus(raw);
    pid_ = -1;
    return false;
}

void WineProcess::Kill() {
    if (pid_ <= 0) return;
    KillProgram();
    KillWineServer(prefixDir_, arch_);
}

void WineProcess::KillProgram() {
    if (pid_ <= 0) return;
    kill(-pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    status_ = kTimedOut;
}

WinePrefix::WinePrefix(WineArch arch) : arch_(arch) {
    const std::string source = TemplatePrefix(arch);
    if (!fs::exists(fs::path(source) / "system.reg"))
        throw std::runtime_error("no template Wine prefix at " + source +
                                 "; run scripts/setup.sh");
    std::string pattern = (fs::temp_directory_path() / "purgent-e2e-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error(std::string("mkdtemp: ") + std::strerror(errno));
    root_ = pattern;
    pid_t copy = Spawn({"cp", "-a", source, Dir()}, {}, root_ + "/wine.log");
    if (WaitOrKill(copy, kCopyTimeoutSeconds) != 0)
        throw std::runtime_error("copying the template prefix failed: " + Output());
    UnlinkHomeFolders(Dir());
}

WinePrefix::~WinePrefix() {
    KillWineServer(Dir(), arch_);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::string WinePrefix::Dir() const { return root_ + "/prefix"; }

void WinePrefix::Restart() {
    KillWineServer(Dir(), arch_);
    RunWineServer(Dir(), arch_, "-w");
}

void WinePrefix::MapDrive(char letter) const {
    const std::string name(1, static_cast<char>(std::tolower(static_cast<unsigned char>(letter))));
    const fs::path device = fs::path(Dir()) / "dosdevices" / (name + ":");
    if (fs::exists(fs::symlink_status(device))) return;
    fs::create_directories(fs::path(Dir()) / ("drive_" + name));
    fs::create_directory_symlink("../drive_" + name, device);
}

std::string WinePrefix::UnixPath(const std::string& winPath) const {
    if (winPath.size() < 2 || winPath[1] != ':')
        throw std::invalid_argument("not a drive path: " + winPath);
    std::string drive(1, static_cast<char>(std::tolower(static_cast<unsigned char>(winPath[0]))));
    std::error_code error;
    fs::path path = fs::canonical(fs::path(Dir()) / "dosdevices" / (drive + ":"), error);
    if (error) throw std::runtime_error("drive " + drive + ": is not mapped in " + Dir());
    std::string rest = winPath.substr(2);
    std::replace(rest.begin(), rest.end(), '\\', '/');
    std::istringstream parts(rest);
    for (std::string part; std::getline(parts, part, '/');)
        if (!part.empty()) path /= MatchEntry(path, part);
    return path.string();
}

WineProcess WinePrefix::Start(const std::vector<std::string>& args) {
    std::vector<std::string> command{LoaderFor(arch_)};
    command.insert(command.end(), args.begin(), args.end());
    return WineProcess(Spawn(WineCommand(arch_, command), WineEnv(Dir()), LogPathFor(Dir())), Dir(), arch_);
}

WineProcess WinePrefix::StartOnTerminal(const std::vector<std::string>& args) {
    // script(1) runs the command on a new pseudo-terminal and ends with its status.
    std::string commandLine = ShellQuoted(LoaderFor(arch_));
    for (const std::string& arg : args) commandLine += " " + ShellQuoted(arg);
    const std::vector<std::string> command{"script", "--quiet", "--return", "--command", commandLine, "/dev/null"};
    return WineProcess(Spawn(WineCommand(arch_, command), WineEnv(Dir()), LogPathFor(Dir())), Dir(), arch_);
}

int WinePrefix::Run(const std::vector<std::string>& args, int timeoutSeconds) {
    return Start(args).Wait(timeoutSeconds);
}

std::string WinePrefix::Output() const { return ReadFile(root_ + "/wine.log"); }

std::string BuiltExe(Build build, const std::string& name) {
    const bool win32 = build == Build::Win32;
    const std::string preset = win32 ? "win32" : "win64";
    const fs::path dir = win32 ? EnvOr("PURGENT_WIN32_DIR", PURGENT_WIN32_DIR)
                               : EnvOr("PURGENT_WIN64_DIR", PURGENT_WIN64_DIR);
    const fs::path path = dir / name;
    if (!fs::exists(path))
        throw std::runtime_error(path.string() + " is not built; run: cmake --preset " + preset +
                                 " && cmake --build --preset " + preset);
    return path.string();
}

std::string PurgentSimExe() { return PURGENT_SIM_EXE; }

std::string ArtifactDir() {
    std::string dir = EnvOr("PURGENT_ARTIFACT_DIR", PURGENT_ARTIFACT_DIR);
    fs::create_directories(dir);
    return dir;
}

void SaveScreenshot(const std::string& name) {
    const std::string path = ArtifactDir() + "/" + name + ".png";
    pid_t pid = Spawn({"import", "-window", "root", "png:" + path}, {}, ArtifactDir() + "/screenshots.log");
    int status = WaitOrKill(pid, kHelperTimeoutSeconds);
    if (status != 0) ADD_FAILURE() << "screenshot " << path << " failed, status " << status;
}

bool WaitForFile(const std::string& hostPath, int timeoutSeconds) {
    for (int waited = 0; waited < timeoutSeconds * 10; ++waited) {
        if (fs::exists(hostPath)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

bool WaitForWindow(const std::string& titlePart, int timeoutSeconds) {
    const auto deadline = Clock::now() + std::chrono::seconds(timeoutSeconds);
    do {
        for (const auto& id : WindowIdsTitled(titlePart))
            if (Capture({"xwininfo", "-id", id}).find("IsViewable") != std::string::npos)
                return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    } while (Clock::now() < deadline);
    return false;
}

}  // namespace purgent::e2e
