// libFuzzer target: one input is read as a whole command line (split, then
// applied as switches) and as a launch command. Any crash, sanitizer report
// or broken round trip is a finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/command_line.h"
#include "app/launch_command.h"
#include "app/main_form.h"

namespace {

using namespace purgent;

class QuietMessages : public MessageBoxService {
public:
    void ShowMessage(const std::string&) override {}
    void ShowError(const std::string&) override {}
};

class QuietView : public FormView {
public:
    void ShowInteractive() override {}
    void ShowProgressOnly() override {}
    void StayHidden() override {}
    void OptionsChanged() override {}
    std::optional<std::string> ChooseFile() override { return std::nullopt; }
};

void Check(bool holds) {
    if (!holds) __builtin_trap();
}

void FuzzCommandLine(const std::string& text) {
    std::vector<std::string> arguments = SplitCommandLine(text);
    Check(SplitCommandLine("purgent.exe " + QuoteArguments(arguments)) == arguments);

    QuietMessages messages;
    QuietView view;
    ProcessState state;
    MainForm form(view, messages, state);
    if (!ApplySwitches(arguments, form, state)) return;
    // A launch command always comes with an enabled edit box.
    Check(!form.Checked(Option::LaunchApp) || form.Enabled(Control::Application));
    // The disabled Clean button means neither files nor registry are removed.
    Check(form.Enabled(Control::RunButton) ==
          (form.Checked(Option::DeleteFiles) || form.Checked(Option::DeleteRegistry)));
}

void FuzzLaunchCommand(const std::string& text) {
    ParsedLaunch launch = ParseLaunchCommand(text);
    Check(launch.LaunchProgram.empty() || launch.LaunchProgram.front() != '"');
    Check(LaunchCommandLine(launch).size() <= text.size() + 2 * LaunchArgSlots);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    FuzzCommandLine(text);
    FuzzLaunchCommand(text);
    return 0;
}
