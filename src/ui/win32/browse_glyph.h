#pragma once
#include <windows.h>

namespace purgent::ui {

// The two-state picture of the SelectApp button: the left half while it is
// enabled, the right half while it is disabled.
class BrowseGlyph {
public:
    void Load(HINSTANCE instance);
    // Paints the owner-drawn button: face, frame and the glyph of its state.
    void DrawButton(const DRAWITEMSTRUCT& item) const;

private:
    HBITMAP bitmap_ = nullptr;
};

}  // namespace purgent::ui
