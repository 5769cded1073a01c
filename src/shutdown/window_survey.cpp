#include "shutdown/window_survey.h"

#include <functional>

namespace purgent {
namespace {

constexpr unsigned SurveyWaitMs = 2000;
constexpr int MaxResurveys = 4;
constexpr std::size_t TitleBufferSize = 110;
constexpr std::size_t ClassBufferSize = 95;

const std::vector<std::string> GroupWisePrefixes = {
    "Novell GroupWise", "GroupWise", "Address Book", "Conversation Place",
    "GroupWise Conversation Place", "WMS ",
};
const std::vector<std::string> MessengerPrefixes = {
    "Novell Messenger", "Messenger", "GroupWise Messenger", "Novell GroupWise Messenger",
};
const std::vector<std::string> NovellAppPrefixes = {"Novell App"};
const std::vector<std::string> MessengerTitles = {
    "GroupWise Messenger", "Novell GroupWise Messenger", "Messenger", "Novell Messenger",
};

// Exact and case-sensitive; a title shorter than the prefix does not match.
bool StartsWithAny(const std::string& title, const std::vector<std::string>& prefixes) {
    for (const std::string& prefix : prefixes) {
        if (title.compare(0, prefix.size(), prefix) == 0) return true;
    }
    return false;
}

// One walk over the top-level windows: every window whose title matches one of
// the prefixes is counted once and handed to onMatch. A window whose thread
// cannot be determined ends the walk.
void Walk(WindowService& windows, WindowSurveyState& state,
          const std::vector<std::string>& prefixes,
          const std::function<void(WindowHandle, const std::string&)>& onMatch) {
    windows.EnumWindows([&](WindowHandle window) {
        if (windows.WindowThreadId(window) == 0) return false;
        std::string title = windows.WindowText(window, TitleBufferSize);
        if (StartsWithAny(title, prefixes)) {
            ++state.surveyCounter;
            onMatch(window, title);
        }
        return true;
    });
}

void SurveyGroupWiseWindows(WindowService& windows, WindowSurveyState& state) {
    Walk(windows, state, GroupWisePrefixes, [&](WindowHandle window, const std::string& title) {
        state.foundWindows.resize(state.surveyCounter);
        state.foundWindows[state.surveyCounter - 1] =
            FoundWindow{title, windows.ClassName(window, ClassBufferSize)};
    });
}

void CloseMatchingWindows(WindowService& windows, WindowSurveyState& state,
                          const std::vector<std::string>& prefixes) {
    Walk(windows, state, prefixes,
         [&](WindowHandle window, const std::string&) { windows.SendCloseRequest(window); });
}

}  // namespace

// The first survey of a run passes with up to one matching window; a re-survey
// starts counting from 1 and so passes only when none is left.
bool WaitForGroupWiseWindows(Platform& platform, WindowSurveyState& state) {
    platform.programs.Sleep(SurveyWaitMs);
    state.foundWindows.clear();
    state.surveyCounter = 0;
    SurveyGroupWiseWindows(platform.windows, state);
    while (state.surveyCounter > 1 && state.resurveyCounter < MaxResurveys) {
        platform.programs.Sleep(SurveyWaitMs);
        state.surveyCounter = 1;
        SurveyGroupWiseWindows(platform.windows, state);
        ++state.resurveyCounter;
    }
    return state.surveyCounter > 1;
}

bool CheckMessengerWindows(WindowService& windows, WindowSurveyState& state) {
    CloseMatchingWindows(windows, state, MessengerPrefixes);
    for (const std::string& title : MessengerTitles) {
        if (windows.FindWindowByTitle(title)) return true;
    }
    return false;
}

void CloseNovellAppWindows(WindowService& windows, WindowSurveyState& state) {
    CloseMatchingWindows(windows, state, NovellAppPrefixes);
}

}  // namespace purgent
