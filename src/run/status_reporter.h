#pragma once
#include <string>

#include "run/status_view.h"
#include "platform/cursor_service.h"

namespace purgent {

// Status panel 0 names the phase, panel 1 the item in hand; the progress bar
// behaves like the Win32 control: its position is held within 0..maximum.
class StatusReporter {
public:
    StatusReporter(StatusView& view, CursorService& cursor);

    void ShowPhase(const std::string& text);
    void ShowItem(const std::string& text);
    // Panel 1 without a repaint; visible at the next RepaintStatus.
    void SetItemText(const std::string& text);
    void RepaintStatus();
    void UpdateApplicationField();

    void StepProgress(int n);
    void ExtendProgress(int n);
    void WrapProgress();
    void SetProgressMaximum(int maximum);
    void SetProgressPosition(int position);

    void SaveCursor();
    void BusyCursor();
    void RestoreCursor();

    int Position() const { return position_; }
    int Maximum() const { return maximum_; }
    const std::string& PanelText(int panel) const { return panels_[panel]; }

private:
    void SetProgress(int position, int maximum);

    StatusView& view_;
    CursorService& cursor_;
    std::string panels_[2] = {"Ready", ""};
    int position_ = 0;
    int maximum_ = 100;
};

}  // namespace purgent
