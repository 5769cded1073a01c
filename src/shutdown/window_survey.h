#pragma once
#include "platform/platform.h"
#include "run/window_survey_state.h"

namespace purgent {

// Waits for the GroupWise windows to go; true when some remain.
bool WaitForGroupWiseWindows(Platform& platform, WindowSurveyState& state);

// Asks every Messenger window to close; true when a window with one of the
// Messenger titles remains.
bool CheckMessengerWindows(WindowService& windows, WindowSurveyState& state);

// Asks every window whose title begins with "Novell App" to close (after each
// deregistration command).
void CloseNovellAppWindows(WindowService& windows, WindowSurveyState& state);

}  // namespace purgent
