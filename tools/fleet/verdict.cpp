#include "verdict.h"

namespace purgent::fleet {
namespace {

constexpr const char* kAnotherRun = "another run in progress";

// Purgent's exit statuses: its own table and the Windows Installer table of
// its switch for deployment tools, which share no number but 0.
struct StatusMeaning {
    long long status;
    Outcome outcome;
    const char* remark;
};
constexpr StatusMeaning kStatuses[] = {
    {0, Outcome::Completed, ""},
    {1, Outcome::Halted, ""},
    {2, Outcome::Error, ""},
    {3, Outcome::InvalidCommandLine, ""},
    {4, Outcome::Halted, kAnotherRun},
    {3010, Outcome::Completed, ""},
    {1602, Outcome::Halted, ""},
    {1603, Outcome::Error, ""},
    {1639, Outcome::InvalidCommandLine, ""},
    {1618, Outcome::Halted, kAnotherRun},
};
constexpr long long kRestartNeeded = 3010;

// What the log says of the end: the box of an error or of an invalid command
// line, the status text of a halt, the `# busy` note of a run that found
// another in progress.
std::string EndRemark(const RunRecord& run, Outcome outcome, const char* statusRemark) {
    switch (outcome) {
        case Outcome::Interrupted:
            return "no exit line: cut off " +
                   (run.lastPhase.empty() ? std::string("before its first phase") : "in \"" + run.lastPhase + "\"");
        case Outcome::Error:
            return run.lastError;
        case Outcome::InvalidCommandLine:
            return run.lastMessage;
        case Outcome::Halted:
            if (!run.busy.empty()) return run.busy.back();
            return *statusRemark ? statusRemark : run.lastItem;
        case Outcome::Completed:
            return run.preview ? "preview: nothing was changed" : "";
    }
    return "";
}

const StatusMeaning* MeaningOf(long long status) {
    for (const StatusMeaning& meaning : kStatuses)
        if (meaning.status == status) return &meaning;
    return nullptr;
}

}  // namespace

Verdict Judge(const RunRecord& run) {
    const StatusMeaning* meaning = run.exitStatus ? MeaningOf(*run.exitStatus) : nullptr;
    const Outcome outcome = !run.exitStatus ? Outcome::Interrupted : meaning ? meaning->outcome : Outcome::Error;
    const std::string remark = run.exitStatus && !meaning
                                   ? "exit status " + std::to_string(*run.exitStatus) + " is none of Purgent's"
                                   : EndRemark(run, outcome, meaning ? meaning->remark : "");
    const bool restartPending = !run.restartPending.empty() || run.exitStatus == kRestartNeeded;
    const bool clean = outcome == Outcome::Completed && run.failed.empty();
    // A restart pending finishes the job by itself, so it needs no attention,
    // but it is listed before the machines that are done.
    return {outcome, restartPending, !clean, static_cast<int>(outcome) + (clean && !restartPending ? 1 : 0), remark};
}

const char* OutcomeName(Outcome outcome) {
    switch (outcome) {
        case Outcome::Interrupted: return "interrupted";
        case Outcome::Error: return "error";
        case Outcome::Halted: return "halted";
        case Outcome::InvalidCommandLine: return "invalid command line";
        case Outcome::Completed: return "completed";
    }
    return "";
}

}  // namespace purgent::fleet
