#pragma once
// Finding and reading Purgent's windows from another process.
#include <windows.h>

#include <optional>
#include <string>

namespace uihelper {

std::string Text(HWND window);
// The main window (class "TForm1"), visible or not; nullptr when there is none.
HWND MainForm();
// A message box captioned "Purgent"; nullptr when none is open.
HWND PurgentBox();
// The text of a message box (its static text control).
std::string BoxText(HWND box);
// Presses the box's OK button.
void PressOk(HWND box);
// The first descendant of parent of the class with that text; nullptr if none.
HWND FindDescendant(HWND parent, const char* className, const std::string& text);
// Text of one panel of a status bar of another process; nullopt while that
// process does not answer (it is busy in a run).
std::optional<std::string> StatusPanelText(HWND statusBar, int panel);

}  // namespace uihelper
