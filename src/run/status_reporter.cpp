#include "run/status_reporter.h"

#include <algorithm>

namespace purgent {

StatusReporter::StatusReporter(StatusView& view, CursorService& cursor)
    : view_(view), cursor_(cursor) {}

void StatusReporter::ShowPhase(const std::string& text) {
    panels_[0] = text;
    view_.SetPanelText(0, text);
}

void StatusReporter::ShowItem(const std::string& text) {
    SetItemText(text);
    RepaintStatus();
}

void StatusReporter::SetItemText(const std::string& text) {
    panels_[1] = text;
    view_.SetPanelText(1, text);
}

void StatusReporter::RepaintStatus() { view_.RepaintStatus(); }

void StatusReporter::UpdateApplicationField() { view_.UpdateApplicationField(); }

void StatusReporter::StepProgress(int n) { SetProgress(position_ + n, maximum_); }

void StatusReporter::ExtendProgress(int n) { SetProgress(position_, maximum_ + n); }

void StatusReporter::WrapProgress() {
    if (position_ >= maximum_) SetProgress(0, maximum_);
}

void StatusReporter::SetProgressMaximum(int maximum) { SetProgress(position_, maximum); }

void StatusReporter::SetProgressPosition(int position) { SetProgress(position, maximum_); }

void StatusReporter::SetProgress(int position, int maximum) {
    // The progress control keeps its position inside its range.
    position = std::clamp(position, 0, std::max(maximum, 0));
    if (position == position_ && maximum == maximum_) return;
    position_ = position;
    maximum_ = maximum;
    view_.SetProgress(position_, maximum_);
}

void StatusReporter::SaveCursor() { cursor_.SaveCursor(); }

void StatusReporter::BusyCursor() { cursor_.ShowBusy(); }

void StatusReporter::RestoreCursor() { cursor_.RestoreSaved(); }

}  // namespace purgent
