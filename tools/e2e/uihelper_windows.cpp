#include "uihelper_windows.h"

#include <commctrl.h>

namespace uihelper {
namespace {

constexpr UINT kAnswerTimeoutMs = 500;

struct Search {
    const char* className;
    const std::string* text;
    HWND found;
};

BOOL CALLBACK MatchDescendant(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpiA(className, search->className) == 0 && Text(window) == *search->text) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK MatchBoxText(HWND window, LPARAM lParam) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    std::string text = Text(window);
    if (lstrcmpiA(className, "Static") == 0 && !text.empty()) {
        *reinterpret_cast<std::string*>(lParam) = text;
        return FALSE;
    }
    return TRUE;
}

// Memory inside another process, for messages whose answer is written through a pointer.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, SIZE_T size) : size_(size) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                   PROCESS_QUERY_INFORMATION,
                               FALSE, processId);
        if (process_) {
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE,
                                      PAGE_READWRITE);
        }
    }
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    void* Address() const { return address_; }
    std::string ReadString() const {
        std::string text(size_, '\0');
        SIZE_T read = 0;
        if (!ReadProcessMemory(process_, address_, text.data(), size_, &read)) return "";
        text.resize(text.find('\0') == std::string::npos ? read : text.find('\0'));
        return text;
    }

private:
    SIZE_T size_;
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& answer) {
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                               kAnswerTimeoutMs, &answer) != 0;
}

}  // namespace

std::string Text(HWND window) {
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

HWND MainForm() { return FindWindowA("TForm1", nullptr); }

HWND PurgentBox() { return FindWindowA("#32770", "Purgent"); }

std::string BoxText(HWND box) {
    std::string text;
    EnumChildWindows(box, MatchBoxText, reinterpret_cast<LPARAM>(&text));
    return text;
}

void PressOk(HWND box) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

HWND FindDescendant(HWND parent, const char* className, const std::string& text) {
    Search search{className, &text, nullptr};
    EnumChildWindows(parent, MatchDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::optional<std::string> StatusPanelText(HWND statusBar, int panel) {
    DWORD_PTR answer = 0;
    if (!Ask(statusBar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(panel), 0, answer)) {
        return std::nullopt;
    }
    RemoteBuffer buffer(statusBar, LOWORD(answer) + 1);
    if (!buffer.Address()) return std::nullopt;
    if (!Ask(statusBar, SB_GETTEXTA, static_cast<WPARAM>(panel),
             reinterpret_cast<LPARAM>(buffer.Address()), answer)) {
        return std::nullopt;
    }
    return buffer.ReadString();
}

}  // namespace uihelper
