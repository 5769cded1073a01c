#pragma once
#include <array>
#include <string>

#include "app/form_view.h"
#include "run/process_state.h"
#include "run/run_options.h"
#include "platform/message_box_service.h"

namespace purgent {

// Controls whose enabled state the change handlers switch.
enum class Control {
    Client,
    WritingTools,
    WebServices,
    Networked,
    Messenger,
    DeleteFiles,
    DeleteRegistry,
    LaunchApp,
    Application,
    SelectApp,
    RunButton,
};

// The caption of an option's check box in the window.
constexpr const char* OptionCaption(Option option) {
    switch (option) {
        case Option::Client: return "Remove GroupWise Client";
        case Option::WritingTools: return "Remove Writing Tools";
        case Option::WebServices: return "Remove Web Services Components";
        case Option::Networked: return "Network Install (don't remove distribution files)";
        case Option::Messenger: return "Remove Messenger";
        case Option::DeleteFiles: return "Remove Files";
        case Option::DeleteRegistry: return "Remove Registry Entries";
        case Option::LaunchApp: return "Launch Application";
    }
    return "";
}

// The main window's state and its change handlers, independent of any
// toolkit. The view shows it; the command line and the user change it
// through the same calls.
class MainForm : public RunOptions {
public:
    static constexpr const char* ApplicationHintText =
        "Parameters that contain spaces must be enclosed in quotes";

    MainForm(FormView& view, MessageBoxService& messages, ProcessState& state);

    bool Checked(Option option) const override;
    const std::string& LaunchCommand() const override { return launchCommand_; }
    bool Enabled(Control control) const;
    const std::string& ApplicationHint() const { return applicationHint_; }

    // Behaves like a click: the box's change handler runs, but only when the
    // state really changes. Works whether or not the box is enabled.
    void SetChecked(Option option, bool checked);
    // The text of the Application edit box.
    void SetLaunchCommand(std::string command);
    void SetApplicationHint(std::string hint);
    // The browse button: a picked file replaces the command with its quoted path.
    void SelectAppClick();

private:
    void ClientClick();
    void MessengerClick();
    void DeleteFilesOrRegistryClick();
    void WebServicesClick();
    void LaunchAppClick();
    void Enable(Control control, bool enabled);

    FormView& view_;
    MessageBoxService& messages_;
    ProcessState& state_;
    std::array<bool, 8> checked_;
    std::array<bool, 11> enabled_;
    std::string launchCommand_;
    std::string applicationHint_;
};

}  // namespace purgent
