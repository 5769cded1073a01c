// Runs the process shutdown operations against the real (Wine) desktop and
// prints their outcome on stdout for the e2e tests:
//   fakeproc_probe.exe kill <image name>      -> "kill-result=<code>[,<code>...]", one per process
//   fakeproc_probe.exe close-novell-app       -> "survey-counter=<n>"
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32/win32_platform.h"
#include "shutdown/kill_process.h"
#include "shutdown/window_survey.h"

int main(int argc, char** argv) {
    purgent::Win32Platform machine;
    if (argc == 3 && std::strcmp(argv[1], "kill") == 0) {
        std::string codes;
        for (int code : purgent::KillProcessByName(machine.platform, argv[2]))
            codes += (codes.empty() ? "" : ",") + std::to_string(code);
        std::printf("kill-result=%s\n", codes.c_str());
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "close-novell-app") == 0) {
        purgent::WindowSurveyState state;
        purgent::CloseNovellAppWindows(machine.windows, state);
        std::printf("survey-counter=%d\n", state.surveyCounter);
        return 0;
    }
    std::fprintf(stderr, "usage: fakeproc_probe kill <image> | close-novell-app\n");
    return 2;
}
