#pragma once
#include "app/form_view.h"

namespace purgent::sim {

// The main window of a headless run: remembers how it was shown; the file
// dialog is always cancelled.
class SimFormView : public FormView {
public:
    enum class Shown { NotYet, Interactive, ProgressOnly, Hidden };

    void ShowInteractive() override { shown_ = Shown::Interactive; }
    void ShowProgressOnly() override { shown_ = Shown::ProgressOnly; }
    void StayHidden() override { shown_ = Shown::Hidden; }
    void OptionsChanged() override {}
    std::optional<std::string> ChooseFile() override { return std::nullopt; }

    Shown HowShown() const { return shown_; }

private:
    Shown shown_ = Shown::NotYet;
};

}  // namespace purgent::sim
