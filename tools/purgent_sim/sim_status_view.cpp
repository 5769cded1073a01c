#include "purgent_sim/sim_status_view.h"

namespace purgent::sim {

void SimStatusView::SetPanelText(int panel, const std::string& text) {
    trace_.Event(panel == 0 ? "phase" : "item", {text});
}

void SimStatusView::SetProgress(int position, int maximum) {
    trace_.Event("progress", {std::to_string(position), std::to_string(maximum)});
}

}  // namespace purgent::sim
