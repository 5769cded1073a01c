#pragma once
#include "run/status_view.h"
#include "platform/sim/sim_trace.h"

namespace purgent::sim {

// The status bar and progress bar as trace events: phase (panel 0), item
// (panel 1), progress (position, maximum).
class SimStatusView : public StatusView {
public:
    explicit SimStatusView(SimTrace& trace) : trace_(trace) {}
    void SetPanelText(int panel, const std::string& text) override;
    void RepaintStatus() override {}
    void SetProgress(int position, int maximum) override;

private:
    SimTrace& trace_;
};

}  // namespace purgent::sim
