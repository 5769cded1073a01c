#pragma once
#include <optional>
#include <string>
#include <vector>

#include "app/form_view.h"
#include "app/main_form.h"
#include "run/process_state.h"
#include "platform/message_box_service.h"

namespace purgent::test {

class RecordingMessages : public MessageBoxService {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    std::vector<std::string> messages;
    std::vector<std::string> errors;
};

class RecordingFormView : public FormView {
public:
    void ShowInteractive() override { shown.push_back("interactive"); }
    void ShowProgressOnly() override { shown.push_back("progress-only"); }
    void StayHidden() override { shown.push_back("hidden"); }
    void OptionsChanged() override { ++optionsChanged; }
    std::optional<std::string> ChooseFile() override { return chosenFile; }

    std::vector<std::string> shown;
    int optionsChanged = 0;
    std::optional<std::string> chosenFile;
};

// A main form with its own state, view and message boxes.
struct FormFixture {
    RecordingMessages messages;
    RecordingFormView view;
    ProcessState state;
    MainForm form{view, messages, state};
};

}  // namespace purgent::test
