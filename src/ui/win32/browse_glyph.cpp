#include "ui/win32/browse_glyph.h"

#include "ui/win32/resource_ids.h"

namespace purgent::ui {
namespace {

constexpr int kGlyphSize = 16;
constexpr COLORREF kTransparent = RGB(255, 0, 255);

}  // namespace

void BrowseGlyph::Load(HINSTANCE instance) {
    bitmap_ = static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(IDB_BROWSE_GLYPH),
                                              IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

void BrowseGlyph::DrawButton(const DRAWITEMSTRUCT& item) const {
    bool pushed = item.itemState & ODS_SELECTED;
    bool disabled = item.itemState & ODS_DISABLED;
    RECT face = item.rcItem;
    DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    if (!bitmap_) return;

    HDC glyphDc = CreateCompatibleDC(item.hDC);
    HGDIOBJ previous = SelectObject(glyphDc, bitmap_);
    int offset = pushed ? 1 : 0;
    int x = (item.rcItem.right - item.rcItem.left - kGlyphSize) / 2 + offset;
    int y = (item.rcItem.bottom - item.rcItem.top - kGlyphSize) / 2 + offset;
    TransparentBlt(item.hDC, x, y, kGlyphSize, kGlyphSize, glyphDc, disabled ? kGlyphSize : 0, 0,
                   kGlyphSize, kGlyphSize, kTransparent);
    SelectObject(glyphDc, previous);
    DeleteDC(glyphDc);
}

}  // namespace purgent::ui
