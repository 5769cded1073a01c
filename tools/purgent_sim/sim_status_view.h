#pragma once
#include "platform/record/event_recorder.h"
#include "run/recorded_status_view.h"

namespace purgent::sim {

// The status bar and progress bar of a headless run: recorded only.
class SimStatusView : public RecordedStatusView {
public:
    explicit SimStatusView(EventRecorder& recorder) : RecordedStatusView(nullptr, recorder) {}
};

}  // namespace purgent::sim
