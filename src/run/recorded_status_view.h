#pragma once
#include "platform/record/event_recorder.h"
#include "run/status_view.h"

namespace purgent {

// The status bar and progress bar as events (phase: panel 0, item: panel 1,
// progress: position and maximum), passed on to the view that shows them,
// if there is one.
class RecordedStatusView : public StatusView {
public:
    RecordedStatusView(StatusView* inner, EventRecorder& recorder) : inner_(inner), recorder_(recorder) {}

    void SetPanelText(int panel, const std::string& text) override;
    void RepaintStatus() override;
    void SetProgress(int position, int maximum) override;
    void UpdateApplicationField() override;

private:
    StatusView* inner_;
    EventRecorder& recorder_;
};

}  // namespace purgent
