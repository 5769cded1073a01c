#pragma once
#include <windows.h>

#include "app/main_form.h"

namespace purgent::ui {

constexpr const char* kFormClass = "TForm1";
constexpr const char* kFormCaption = "Purgent 3.5 for GroupWise - developed by Brenolith Inc";
constexpr int kClientWidth = 513;
constexpr int kClientHeight = 642;
constexpr int kHeaderHeight = 27;    // Panel9
constexpr int kProgressHeight = 8;   // ProgBar, right above StatBar
constexpr int kStatusPanel0Width = 150;
constexpr int kStatusPanel1Width = 400;

struct Place {
    int x, y, width, height;
};

enum class PanelName { Panel9, Panel3, Panel6, Panel5, Panel4, Panel8, Panel2, Panel1 };
constexpr int kPanelCount = 8;
constexpr int kOnForm = -1;  // parent index of the form's own panels

struct PanelLayout {
    PanelName name;
    int parent;  // index into kPanels, or kOnForm; parents come first
    Place place;
    bool white;
};
extern const PanelLayout kPanels[kPanelCount];

// Controls of the Control enumeration have the id kControlIdBase + their index;
// creation order (and so the tab order) is the order of kControls.
constexpr int kControlIdBase = 100;
constexpr int kMemoId = 200;
constexpr int kImage1Id = 201;
constexpr int kImage2Id = 202;
constexpr int kControlCount = 14;

constexpr int ControlId(Control control) { return kControlIdBase + static_cast<int>(control); }

struct ControlLayout {
    int id;
    PanelName panel;
    const char* windowClass;
    const char* caption;
    DWORD style;
    DWORD exStyle;
    Place place;
    const char* hint;  // nullptr: no fixed hint
};
extern const ControlLayout kControls[kControlCount];

}  // namespace purgent::ui
