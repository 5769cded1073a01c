#include "ui/win32/form_layout.h"

namespace purgent::ui {
namespace {

constexpr DWORD kCheckBox = BS_CHECKBOX | WS_TABSTOP;  // the model sets the check
constexpr DWORD kPicture = SS_BITMAP;

}  // namespace

const PanelLayout kPanels[kPanelCount] = {
    {PanelName::Panel9, kOnForm, {0, 0, kClientWidth, kHeaderHeight}, true},
    {PanelName::Panel3, kOnForm, {0, 27, kClientWidth, 275}, false},
    {PanelName::Panel6, 1, {1, 1, 511, 102}, false},
    {PanelName::Panel5, 1, {1, 103, 511, 29}, false},
    {PanelName::Panel4, 1, {1, 132, 511, 56}, false},
    {PanelName::Panel8, 1, {1, 188, 511, 60}, false},
    {PanelName::Panel2, 1, {1, 248, 511, 26}, false},
    {PanelName::Panel1, kOnForm, {0, 302, kClientWidth, 313}, false},
};

const ControlLayout kControls[kControlCount] = {
    {kImage1Id, PanelName::Panel9, "STATIC", "", kPicture, 0, {1, 1, 235, 25}, nullptr},
    {kImage2Id, PanelName::Panel9, "STATIC", "", kPicture, 0, {236, 1, 200, 25}, nullptr},
    {ControlId(Control::Client), PanelName::Panel6, "BUTTON", OptionCaption(Option::Client),
     kCheckBox, 0, {136, 7, 169, 17}, nullptr},
    {ControlId(Control::WritingTools), PanelName::Panel6, "BUTTON", OptionCaption(Option::WritingTools),
     kCheckBox, 0, {160, 32, 129, 17}, nullptr},
    {ControlId(Control::WebServices), PanelName::Panel6, "BUTTON",
     OptionCaption(Option::WebServices), kCheckBox, 0, {160, 57, 193, 17}, nullptr},
    {ControlId(Control::Networked), PanelName::Panel6, "BUTTON",
     OptionCaption(Option::Networked), kCheckBox, 0, {136, 80, 277, 17},
     nullptr},
    {ControlId(Control::Messenger), PanelName::Panel5, "BUTTON", OptionCaption(Option::Messenger), kCheckBox,
     0, {136, 7, 129, 17}, nullptr},
    {ControlId(Control::DeleteFiles), PanelName::Panel4, "BUTTON", OptionCaption(Option::DeleteFiles), kCheckBox, 0,
     {136, 7, 97, 17}, nullptr},
    {ControlId(Control::DeleteRegistry), PanelName::Panel4, "BUTTON", OptionCaption(Option::DeleteRegistry),
     kCheckBox, 0, {136, 31, 161, 17}, nullptr},
    {ControlId(Control::LaunchApp), PanelName::Panel8, "BUTTON", OptionCaption(Option::LaunchApp),
     kCheckBox, 0, {136, 7, 122, 17}, "Launch an application after Purgent finishes"},
    {ControlId(Control::Application), PanelName::Panel8, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP,
     WS_EX_CLIENTEDGE, {136, 32, 324, 21}, nullptr},
    {ControlId(Control::SelectApp), PanelName::Panel8, "BUTTON", "", BS_OWNERDRAW, 0,
     {461, 32, 23, 22}, nullptr},
    {ControlId(Control::RunButton), PanelName::Panel2, "BUTTON", "Clean",
     BS_PUSHBUTTON | WS_TABSTOP, 0, {136, 1, 129, 25}, nullptr},
    {kMemoId, PanelName::Panel1, "EDIT", "",
     ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE,
     {1, 1, 511, 311}, nullptr},
};

}  // namespace purgent::ui
