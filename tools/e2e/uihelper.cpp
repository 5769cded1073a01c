// uihelper.exe: drives and inspects Purgent's window for the e2e tests.
//   box <text> [timeout-s]                  answer the "Purgent" box showing <text> with OK
//   answer-any [timeout-s]                   answer the first "Purgent" box with OK, printing its text
//   box-after-file <path> <text> [timeout-s] the same, failing if the box shows before <path> exists
//   wait-box [timeout-s]                     wait until a "Purgent" box is open (leave it open)
//   no-box <seconds>                         fail if a "Purgent" box shows within <seconds>
//   wait-process <image> [timeout-s]         wait until a process of that image name runs
//   click-clean [timeout-s]                  press Clean in the visible main window
//   wait-status <panel> <text> [timeout-s]   wait until status panel 0/1 shows <text>
//   check-control <caption> <checked> <enabled>  compare a check box's state (0/1 each)
//   wait-main-visible [timeout-s]            wait until the main window is visible
//   main-visible                             0 when a visible main window exists, else 1
//   taskbar-entry                            0 when the main window's owner is a visible,
//                                            unowned "Purgent" window without the tool-window style
//   close-main [timeout-s]                   ask the main window to close
// Exit status: 0 done, 1 wrong state or text, 2 timed out, 64 usage.
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "uihelper_windows.h"

namespace {

constexpr int kOk = 0;
constexpr int kWrong = 1;
constexpr int kTimedOut = 2;
constexpr int kUsage = 64;
constexpr DWORD kPollMs = 50;

using Args = std::vector<std::string>;

int Seconds(const Args& args, std::size_t index, int fallback) {
    return index < args.size() ? std::atoi(args[index].c_str()) : fallback;
}

// Polls until ready() holds; false when the time runs out.
bool WaitFor(int seconds, const std::function<bool()>& ready) {
    DWORD deadline = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    while (!ready()) {
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return false;
        Sleep(kPollMs);
    }
    return true;
}

HWND VisibleMainForm() {
    HWND form = uihelper::MainForm();
    return form && IsWindowVisible(form) ? form : nullptr;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int AnswerBox(HWND box, const std::string& expected) {
    std::string text = uihelper::BoxText(box);
    uihelper::PressOk(box);
    // Gone before the next command looks for a box: another may follow.
    WaitFor(10, [box] { return !IsWindow(box); });
    if (text == expected) return kOk;
    std::fprintf(stderr, "uihelper: box shows \"%s\", expected \"%s\"\n", text.c_str(),
                 expected.c_str());
    return kWrong;
}

int Box(const Args& args) {
    if (args.size() < 1) return kUsage;
    HWND box = nullptr;
    if (!WaitFor(Seconds(args, 1, 30), [&] { return (box = uihelper::PurgentBox()) != nullptr; })) {
        std::fprintf(stderr, "uihelper: no Purgent box\n");
        return kTimedOut;
    }
    return AnswerBox(box, args[0]);
}

int AnswerAny(const Args& args) {
    HWND box = nullptr;
    if (!WaitFor(Seconds(args, 0, 30), [&] { return (box = uihelper::PurgentBox()) != nullptr; })) return kTimedOut;
    std::printf("%s\n", uihelper::BoxText(box).c_str());
    std::fflush(stdout);
    uihelper::PressOk(box);
    return kOk;
}

int BoxAfterFile(const Args& args) {
    if (args.size() < 2) return kUsage;
    HWND box = nullptr;
    bool early = false;
    bool shown = WaitFor(Seconds(args, 2, 30), [&] {
        // Look at the file first: once it exists, a box seen afterwards is in time.
        bool fileThere = FileExists(args[0]);
        box = uihelper::PurgentBox();
        if (box && !fileThere) early = true;
        return box != nullptr;
    });
    if (!shown) {
        std::fprintf(stderr, "uihelper: no Purgent box\n");
        return kTimedOut;
    }
    int result = AnswerBox(box, args[1]);
    if (early) {
        std::fprintf(stderr, "uihelper: the box showed before %s existed\n", args[0].c_str());
        return kWrong;
    }
    return result;
}

int WaitBox(const Args& args) {
    return WaitFor(Seconds(args, 0, 30), [] { return uihelper::PurgentBox() != nullptr; })
               ? kOk
               : kTimedOut;
}

int NoBox(const Args& args) {
    if (args.size() != 1) return kUsage;
    if (!WaitFor(Seconds(args, 0, 0), [] { return uihelper::PurgentBox() != nullptr; })) {
        return kOk;
    }
    std::fprintf(stderr, "uihelper: a box shows \"%s\"\n",
                 uihelper::BoxText(uihelper::PurgentBox()).c_str());
    return kWrong;
}

bool ProcessRuns(const std::string& image) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !found;
         more = Process32Next(snapshot, &entry)) {
        found = lstrcmpiA(entry.szExeFile, image.c_str()) == 0;
    }
    CloseHandle(snapshot);
    return found;
}

int WaitProcess(const Args& args) {
    if (args.empty()) return kUsage;
    return WaitFor(Seconds(args, 1, 30), [&] { return ProcessRuns(args[0]); }) ? kOk : kTimedOut;
}

int ClickClean(const Args& args) {
    HWND button = nullptr;
    if (!WaitFor(Seconds(args, 0, 30), [&] {
            HWND form = VisibleMainForm();
            button = form ? uihelper::FindDescendant(form, "Button", "Clean") : nullptr;
            return button != nullptr;
        })) {
        std::fprintf(stderr, "uihelper: no Clean button\n");
        return kTimedOut;
    }
    PostMessageA(button, BM_CLICK, 0, 0);
    return kOk;
}

int WaitStatus(const Args& args) {
    if (args.size() < 2) return kUsage;
    int panel = std::atoi(args[0].c_str());
    std::string last;
    bool shown = WaitFor(Seconds(args, 2, 30), [&] {
        HWND form = uihelper::MainForm();
        HWND bar = form ? FindWindowExA(form, nullptr, "msctls_statusbar32", nullptr) : nullptr;
        auto text = bar ? uihelper::StatusPanelText(bar, panel) : std::nullopt;
        if (text) last = *text;
        return text && *text == args[1];
    });
    if (shown) return kOk;
    std::fprintf(stderr, "uihelper: status panel %d shows \"%s\", expected \"%s\"\n", panel,
                 last.c_str(), args[1].c_str());
    return kTimedOut;
}

int CheckControl(const Args& args) {
    if (args.size() != 3) return kUsage;
    HWND form = uihelper::MainForm();
    HWND box = form ? uihelper::FindDescendant(form, "Button", args[0]) : nullptr;
    if (!box) {
        std::fprintf(stderr, "uihelper: no control \"%s\"\n", args[0].c_str());
        return kWrong;
    }
    DWORD_PTR check = 0;
    SendMessageTimeoutA(box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &check);
    int checked = check == BST_CHECKED ? 1 : 0;
    int enabled = IsWindowEnabled(box) ? 1 : 0;
    if (checked == std::atoi(args[1].c_str()) && enabled == std::atoi(args[2].c_str())) {
        return kOk;
    }
    std::fprintf(stderr, "uihelper: \"%s\" is checked=%d enabled=%d\n", args[0].c_str(), checked,
                 enabled);
    return kWrong;
}

int WaitMainVisible(const Args& args) {
    return WaitFor(Seconds(args, 0, 30), [] { return VisibleMainForm() != nullptr; })
               ? kOk
               : kTimedOut;
}

int MainVisible(const Args&) { return VisibleMainForm() ? kOk : kWrong; }

// What Windows needs to give a window a taskbar button and an Alt+Tab entry.
int TaskbarEntry(const Args&) {
    HWND form = uihelper::MainForm();
    HWND owner = form ? GetWindow(form, GW_OWNER) : nullptr;
    if (owner && IsWindowVisible(owner) && !GetWindow(owner, GW_OWNER) &&
        !(GetWindowLongPtrA(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) && uihelper::Text(owner) == "Purgent") {
        return kOk;
    }
    std::fprintf(stderr, "uihelper: the main window has no taskbar entry \"Purgent\" for its owner\n");
    return kWrong;
}

int CloseMain(const Args& args) {
    HWND form = nullptr;
    if (!WaitFor(Seconds(args, 0, 30), [&] { return (form = uihelper::MainForm()) != nullptr; })) {
        return kTimedOut;
    }
    PostMessageA(form, WM_CLOSE, 0, 0);
    return kOk;
}

struct Command {
    const char* name;
    int (*run)(const Args&);
};

const Command kCommands[] = {
    {"box", Box},
    {"answer-any", AnswerAny},
    {"box-after-file", BoxAfterFile},
    {"wait-box", WaitBox},
    {"no-box", NoBox},
    {"wait-process", WaitProcess},
    {"click-clean", ClickClean},
    {"wait-status", WaitStatus},
    {"check-control", CheckControl},
    {"wait-main-visible", WaitMainVisible},
    {"main-visible", MainVisible},
    {"taskbar-entry", TaskbarEntry},
    {"close-main", CloseMain},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return kUsage;
    Args args(argv + 2, argv + argc);
    for (const Command& command : kCommands) {
        if (argv[1] == std::string(command.name)) return command.run(args);
    }
    std::fprintf(stderr, "uihelper: unknown command %s\n", argv[1]);
    return kUsage;
}
