#pragma once
// A Wine prefix set up for driving purgent.exe's window: marker.exe is placed
// at C:\marker.exe, uihelper.exe runs next to purgent.exe.
#include <string>
#include <vector>

#include "wine_harness.h"

namespace purgent::e2e {

constexpr int kPurgentTimeoutSeconds = 300;
// How long a launched marker.exe runs when uihelper must look at the window
// meanwhile: each uihelper run takes seconds to start on a busy machine,
// emulated ones more.
constexpr int kWhileCheckedMs = 20000;
// uihelper's exit statuses.
constexpr int kUiOk = 0;
constexpr int kUiWrong = 1;

class PurgentDesk {
public:
    explicit PurgentDesk(const E2eTarget& target = kWin64Target);

    WineProcess StartPurgent(const std::vector<std::string>& args);
    // uihelper.exe <args...>: its exit status.
    int Ui(const std::vector<std::string>& args);
    // The "/la-" argument that runs marker.exe, which writes file after sleepMs.
    static std::string LaunchMarker(const std::string& file, int sleepMs);
    bool FileExists(const std::string& winPath) const;
    std::string UnixPath(const std::string& winPath) const { return prefix_.UnixPath(winPath); }
    std::string Output() const { return prefix_.Output(); }

    std::string Exe(const std::string& name) const { return target_.Exe(name); }

private:
    E2eTarget target_;
    WinePrefix prefix_;
};

}  // namespace purgent::e2e
