#pragma once
#include <windows.h>

#include <array>
#include <string>

#include "app/form_view.h"
#include "app/purgent_app.h"
#include "run/status_view.h"
#include "platform/message_box_service.h"
#include "platform/win32/win32_cursor.h"
#include "ui/win32/browse_glyph.h"
#include "ui/win32/form_layout.h"
#include "ui/win32/hints.h"
#include "ui/win32/taskbar_owner.h"

namespace purgent::ui {

// The main window "TForm1": a view of the MainForm model and of the status
// reporter. Its controls forward clicks and edits to the model's handlers.
class MainWindow : public StatusView, public FormView {
public:
    MainWindow(HINSTANCE instance, Win32CursorService& cursor, MessageBoxService& messages);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window and its controls, hidden, owned by the taskbar entry.
    HWND Create();
    // Connects the program's handlers and shows the model's state.
    void Attach(PurgentApp& app);

    void SetPanelText(int panel, const std::string& text) override;
    void RepaintStatus() override;
    void SetProgress(int position, int maximum) override;
    void UpdateApplicationField() override;

    void ShowInteractive() override;
    void ShowProgressOnly() override;
    void StayHidden() override;
    void OptionsChanged() override;
    std::optional<std::string> ChooseFile() override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void CreateBars();
    void Command(int id, int code);
    HBRUSH ControlColour(HWND control, HDC dc);
    void LayoutBars();
    void SizeAndCentre(int clientWidth, int clientHeight);
    void Paint();
    // Shows the window, with its taskbar entry.
    void Reveal();
    HWND ControlWindow(Control control) const;

    HINSTANCE instance_;
    Win32CursorService& cursor_;
    MessageBoxService& messages_;
    PurgentApp* app_ = nullptr;
    TaskbarOwner owner_;
    HWND window_ = nullptr;
    std::array<HWND, kPanelCount> panels_{};
    std::array<HWND, kControlCount> controls_{};
    HWND progress_ = nullptr;
    HWND status_ = nullptr;
    HFONT font_ = nullptr;
    Hints hints_;
    std::string applicationHint_;
    BrowseGlyph glyph_;
};

}  // namespace purgent::ui
