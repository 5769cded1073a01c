#pragma once
#include <string>
#include <vector>

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

}  // namespace purgent
