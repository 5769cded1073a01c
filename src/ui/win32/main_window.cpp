#include "ui/win32/main_window.h"

#include <commctrl.h>
#include <commdlg.h>

#include "app/notes_text.h"
#include "ui/win32/handler_guard.h"
#include "ui/win32/panel.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/resource_pictures.h"

namespace purgent::ui {
namespace {

constexpr DWORD kFormStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
// ProgressOnly: a single fixed border with the system menu only.
constexpr DWORD kProgressOnlyStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kProgressOnlyExStyle = WS_EX_CONTROLPARENT;
constexpr int kProgressId = 300;
constexpr int kStatusId = 301;
constexpr int kOptionBoxCount = 8;  // Control::Client .. Control::LaunchApp are the boxes

HFONT CreateFormFont() {
    HDC screen = GetDC(nullptr);
    int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(),
                                                        static_cast<int>(text.size()))));
    return text;
}

bool IsChecked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Win32CursorService& cursor,
                       MessageBoxService& messages)
    : instance_(instance), cursor_(cursor), messages_(messages) {}

HWND MainWindow::Create() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    // Windows takes the small icon for the system menu from the same resource.
    windowClass.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_PURGENT));
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kFormClass;
    RegisterClassA(&windowClass);
    RegisterPanelClass(instance_);

    HWND owner = owner_.Create(instance_, windowClass.hIcon);
    window_ = CreateWindowExA(kFormExStyle, kFormClass, kFormCaption, kFormStyle, 0, 0,
                              kClientWidth, kClientHeight, owner, nullptr, instance_, this);
    font_ = CreateFormFont();
    CreateControls();
    CreateBars();
    SizeAndCentre(kClientWidth, kClientHeight);
    return window_;
}

void MainWindow::CreateControls() {
    for (int i = 0; i < kPanelCount; ++i) {
        const PanelLayout& layout = kPanels[i];
        HWND parent = layout.parent == kOnForm ? window_ : panels_[layout.parent];
        const Place& p = layout.place;
        panels_[i] = CreatePanel(parent, RECT{p.x, p.y, p.x + p.width, p.y + p.height},
                                 layout.white);
    }
    hints_.Create(window_);
    for (int i = 0; i < kControlCount; ++i) {
        const ControlLayout& layout = kControls[i];
        const Place& p = layout.place;
        controls_[i] = CreateWindowExA(
            layout.exStyle, layout.windowClass, layout.caption,
            WS_CHILD | WS_VISIBLE | layout.style, p.x, p.y, p.width, p.height,
            panels_[static_cast<int>(layout.panel)],
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance_, nullptr);
        SendMessageA(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        if (layout.hint) hints_.Add(controls_[i], layout.hint);
    }
    hints_.Add(ControlWindow(Control::Application), applicationHint_);
    glyph_.Load(instance_);

    const int pictureIds[] = {kImage1Id, kImage2Id};
    const int resources[] = {IDR_HEADER_LEFT, IDR_HEADER_RIGHT};
    for (int i = 0; i < 2; ++i) {
        HWND image = GetDlgItem(panels_[static_cast<int>(PanelName::Panel9)], pictureIds[i]);
        SendMessageA(image, STM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(LoadJpegBitmap(instance_, resources[i])));
    }
    SetWindowTextA(GetDlgItem(panels_[static_cast<int>(PanelName::Panel1)], kMemoId),
                   NotesText().c_str());
}

void MainWindow::CreateBars() {
    progress_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 0, 0,
                                kClientWidth, kProgressHeight, window_,
                                reinterpret_cast<HMENU>(kProgressId), instance_, nullptr);
    SendMessageA(progress_, PBM_SETRANGE32, 0, 100);
    SendMessageA(progress_, PBM_SETPOS, 0, 0);

    status_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_,
                              reinterpret_cast<HMENU>(kStatusId), instance_, nullptr);
    SendMessageA(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    int rightEdges[] = {kStatusPanel0Width, kStatusPanel0Width + kStatusPanel1Width};
    SendMessageA(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(rightEdges));
    SetPanelText(0, "Ready");
}

void MainWindow::Attach(PurgentApp& app) {
    app_ = &app;
    OptionsChanged();
}

HWND MainWindow::ControlWindow(Control control) const {
    for (int i = 0; i < kControlCount; ++i) {
        if (kControls[i].id == ControlId(control)) return controls_[i];
    }
    return nullptr;
}

void MainWindow::SetPanelText(int panel, const std::string& text) {
    SendMessageA(status_, SB_SETTEXTA, static_cast<WPARAM>(panel),
                 reinterpret_cast<LPARAM>(text.c_str()));
}

void MainWindow::RepaintStatus() {
    RedrawWindow(status_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void MainWindow::SetProgress(int position, int maximum) {
    SendMessageA(progress_, PBM_SETRANGE32, 0, maximum);
    SendMessageA(progress_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void MainWindow::UpdateApplicationField() { UpdateWindow(ControlWindow(Control::Application)); }

void MainWindow::ShowInteractive() { Reveal(); }

void MainWindow::ShowProgressOnly() {
    ShowWindow(panels_[static_cast<int>(PanelName::Panel3)], SW_HIDE);
    ShowWindow(panels_[static_cast<int>(PanelName::Panel1)], SW_HIDE);
    SetWindowLongPtrA(window_, GWL_STYLE, kProgressOnlyStyle);
    SetWindowLongPtrA(window_, GWL_EXSTYLE, kProgressOnlyExStyle);
    RECT statusBar;
    GetWindowRect(status_, &statusBar);
    SizeAndCentre(kClientWidth, kHeaderHeight + kProgressHeight +
                                    (statusBar.bottom - statusBar.top));
    Reveal();
}

void MainWindow::StayHidden() {
    // Created hidden and never shown: nothing to do.
}

void MainWindow::OptionsChanged() {
    if (!app_) return;  // still being constructed; Attach mirrors the state
    const MainForm& form = app_->Form();
    for (int index = 0; index <= static_cast<int>(Control::RunButton); ++index) {
        auto control = static_cast<Control>(index);
        HWND window = ControlWindow(control);
        bool enabled = form.Enabled(control);
        if ((IsWindowEnabled(window) != FALSE) != enabled) EnableWindow(window, enabled);
        if (index < kOptionBoxCount) {
            bool checked = form.Checked(static_cast<Option>(index));
            if (IsChecked(window) != checked) {
                SendMessageA(window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
            }
        }
    }
    HWND application = ControlWindow(Control::Application);
    if (WindowText(application) != form.LaunchCommand()) {
        SetWindowTextA(application, form.LaunchCommand().c_str());
    }
    if (applicationHint_ != form.ApplicationHint()) {
        applicationHint_ = form.ApplicationHint();
        hints_.SetText(application, applicationHint_);
    }
    InvalidateRect(application, nullptr, TRUE);  // its colour follows the enabled state
}

std::optional<std::string> MainWindow::ChooseFile() {
    std::string path(32768, '\0');
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = window_;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    if (!GetOpenFileNameA(&dialog)) return std::nullopt;
    path.resize(path.find('\0'));
    return path;
}

void MainWindow::LayoutBars() {
    SendMessageA(status_, WM_SIZE, 0, 0);  // the status bar docks itself at the bottom
    RECT client, statusBar;
    GetClientRect(window_, &client);
    GetWindowRect(status_, &statusBar);
    int top = client.bottom - (statusBar.bottom - statusBar.top) - kProgressHeight;
    SetWindowPos(progress_, nullptr, 0, top, client.right, kProgressHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::SizeAndCentre(int clientWidth, int clientHeight) {
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_EXSTYLE)));
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(window_, nullptr, x, y, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void MainWindow::Reveal() {
    owner_.Show(window_);
    ShowWindow(window_, SW_SHOWNORMAL);
    Paint();
}

void MainWindow::Paint() {
    // Unattended runs work inside the creation handler without a message loop.
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void MainWindow::Command(int id, int code) {
    if (!app_) return;
    int index = id - kControlIdBase;
    if (code == BN_CLICKED && index >= 0 && index < kOptionBoxCount) {
        bool checked = !IsChecked(ControlWindow(static_cast<Control>(index)));
        RunGuarded(messages_, [&] { app_->Form().SetChecked(static_cast<Option>(index), checked); });
    } else if (id == ControlId(Control::Application) && code == EN_CHANGE) {
        std::string text = WindowText(ControlWindow(Control::Application));
        RunGuarded(messages_, [&] { app_->Form().SetLaunchCommand(text); });
    } else if (id == ControlId(Control::SelectApp) && code == BN_CLICKED) {
        RunGuarded(messages_, [&] { app_->Form().SelectAppClick(); });
    } else if (id == ControlId(Control::RunButton) && code == BN_CLICKED) {
        RunGuarded(messages_, [&] { app_->RunButtonClick(); });
    }
}

HBRUSH MainWindow::ControlColour(HWND control, HDC dc) {
    int background;
    if (control == ControlWindow(Control::Application)) {
        background = IsWindowEnabled(control) ? COLOR_WINDOW : COLOR_BTNSHADOW;
    } else if (GetDlgCtrlID(control) == kMemoId) {
        background = COLOR_INFOBK;
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    } else {
        return nullptr;
    }
    SetBkColor(dc, GetSysColor(background));
    return GetSysColorBrush(background);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* self = static_cast<MainWindow*>(create->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return self ? self->HandleMessage(message, wParam, lParam)
                : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        Command(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (static_cast<int>(item.CtlID) != ControlId(Control::SelectApp)) break;
        glyph_.DrawButton(item);
        return TRUE;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (HBRUSH brush = ControlColour(reinterpret_cast<HWND>(lParam),
                                         reinterpret_cast<HDC>(wParam))) {
            return reinterpret_cast<LRESULT>(brush);
        }
        break;
    case WM_SETCURSOR:
        if (HCURSOR busy = cursor_.Override()) {
            SetCursor(busy);
            return TRUE;
        }
        break;
    case WM_SIZE:
        if (status_) LayoutBars();
        return 0;
    case WM_CLOSE:
        if (app_) RunGuarded(messages_, [&] { app_->FormClose(); });
        DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

}  // namespace purgent::ui
