#include "run/recorded_status_view.h"

namespace purgent {

void RecordedStatusView::SetPanelText(int panel, const std::string& text) {
    recorder_.Event(panel == 0 ? "phase" : "item", {text});
    if (inner_) inner_->SetPanelText(panel, text);
}

void RecordedStatusView::RepaintStatus() {
    if (inner_) inner_->RepaintStatus();
}

void RecordedStatusView::SetProgress(int position, int maximum) {
    recorder_.Event("progress", {std::to_string(position), std::to_string(maximum)});
    if (inner_) inner_->SetProgress(position, maximum);
}

void RecordedStatusView::UpdateApplicationField() {
    if (inner_) inner_->UpdateApplicationField();
}

}  // namespace purgent
