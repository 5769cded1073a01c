#include "app/main_form.h"

#include <utility>

namespace purgent {

namespace {

constexpr std::size_t Index(Option option) { return static_cast<std::size_t>(option); }
constexpr std::size_t Index(Control control) { return static_cast<std::size_t>(control); }

}  // namespace

MainForm::MainForm(FormView& view, MessageBoxService& messages, ProcessState& state)
    : view_(view), messages_(messages), state_(state) {
    checked_.fill(false);
    for (Option option : {Option::Client, Option::WritingTools, Option::Messenger, Option::DeleteFiles,
                          Option::DeleteRegistry}) {
        checked_[Index(option)] = true;
    }
    enabled_.fill(true);
    enabled_[Index(Control::Application)] = false;
    enabled_[Index(Control::SelectApp)] = false;
}

bool MainForm::Checked(Option option) const { return checked_[Index(option)]; }

bool MainForm::Enabled(Control control) const { return enabled_[Index(control)]; }

void MainForm::SetChecked(Option option, bool checked) {
    if (checked_[Index(option)] == checked) return;
    checked_[Index(option)] = checked;
    switch (option) {
        case Option::Client: ClientClick(); break;
        case Option::Messenger: MessengerClick(); break;
        case Option::DeleteFiles:
        case Option::DeleteRegistry: DeleteFilesOrRegistryClick(); break;
        case Option::WebServices: WebServicesClick(); break;
        case Option::LaunchApp: LaunchAppClick(); break;
        case Option::WritingTools:
        case Option::Networked: break;
    }
    view_.OptionsChanged();
}

void MainForm::SetLaunchCommand(std::string command) {
    if (command == launchCommand_) return;
    launchCommand_ = std::move(command);
    view_.OptionsChanged();
}

void MainForm::SetApplicationHint(std::string hint) {
    applicationHint_ = std::move(hint);
    view_.OptionsChanged();
}

void MainForm::SelectAppClick() {
    if (auto path = view_.ChooseFile()) SetLaunchCommand('"' + *path + '"');
}

void MainForm::ClientClick() {
    if (Checked(Option::Client)) {
        for (Control control : {Control::WritingTools, Control::WebServices, Control::DeleteFiles,
                                Control::DeleteRegistry}) {
            Enable(control, true);
        }
        return;
    }
    Enable(Control::WritingTools, false);
    Enable(Control::WebServices, false);
    if (!Checked(Option::Messenger)) {
        Enable(Control::DeleteFiles, false);
        Enable(Control::DeleteRegistry, false);
    }
}

void MainForm::MessengerClick() {
    if (Checked(Option::Messenger)) {
        Enable(Control::DeleteFiles, true);
        Enable(Control::DeleteRegistry, true);
    } else if (!Checked(Option::Client)) {
        Enable(Control::DeleteFiles, false);
        Enable(Control::DeleteRegistry, false);
    }
}

void MainForm::DeleteFilesOrRegistryClick() {
    if (!Checked(Option::DeleteFiles) && !Checked(Option::DeleteRegistry)) {
        for (Control control : {Control::WritingTools, Control::RunButton, Control::Client, Control::Messenger,
                                Control::WebServices}) {
            Enable(control, false);
        }
        return;
    }
    if (Checked(Option::Client)) {
        Enable(Control::WritingTools, true);
        Enable(Control::WebServices, true);
    }
    Enable(Control::RunButton, true);
    Enable(Control::Client, true);
    Enable(Control::Messenger, true);
}

void MainForm::WebServicesClick() {
    bool checked = Checked(Option::WebServices);
    bool silent = state_.silentMode == SilentMode::Silent || state_.silentMode == SilentMode::SilentNoMessage;
    if (checked && !silent) {
        messages_.ShowMessage(
            "Only select this if you are reinstalling the GroupWise 6.5 or higher Client\n\n"
            "This can affect Windows web services");
    }
    state_.webServices = checked;
}

void MainForm::LaunchAppClick() {
    bool checked = Checked(Option::LaunchApp);
    Enable(Control::SelectApp, checked);
    Enable(Control::Application, checked);
}

void MainForm::Enable(Control control, bool enabled) { enabled_[Index(control)] = enabled; }

}  // namespace purgent
