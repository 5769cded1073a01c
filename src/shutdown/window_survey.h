#pragma once
#include <string>
#include <vector>

#include "platform/platform.h"

namespace purgent {

struct FoundWindow {
    std::string title;
    std::string className;
};

// The window survey's counters and its record of GroupWise windows found.
// They belong to the process: the four re-surveys are shared by all runs.
struct WindowSurveyState {
    int surveyCounter = 0;
    int resurveyCounter = 0;
    // Row n (from 1) holds the window counted n-th; nothing reads it.
    std::vector<FoundWindow> foundWindows;
};

// Waits for the GroupWise windows to go; true when some remain.
bool WaitForGroupWiseWindows(Platform& platform, WindowSurveyState& state);

// Asks every Messenger window to close; true when a window with one of the
// Messenger titles remains.
bool CheckMessengerWindows(WindowService& windows, WindowSurveyState& state);

// Asks every window whose title begins with "Novell App" to close (after each
// deregistration command).
void CloseNovellAppWindows(WindowService& windows, WindowSurveyState& state);

}  // namespace purgent
