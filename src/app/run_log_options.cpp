#include "app/run_log_options.h"

#include "app/main_form.h"

namespace purgent {

namespace {

const char* ModeName(SilentMode mode) {
    switch (mode) {
        case SilentMode::Silent: return "/s";
        case SilentMode::SilentNoMessage: return "/sn";
        case SilentMode::ProgressOnly: return "/sp";
        case SilentMode::Interactive: break;
    }
    return "Interactive";
}

}  // namespace

std::string RunLogOptions(const RunOptions& options, SilentMode mode) {
    std::string boxes;
    for (Option option : {Option::Client, Option::WritingTools, Option::WebServices, Option::Networked,
                          Option::Messenger, Option::DeleteFiles, Option::DeleteRegistry, Option::LaunchApp}) {
        if (!options.Checked(option)) continue;
        if (!boxes.empty()) boxes += ", ";
        boxes += OptionCaption(option);
    }
    return std::string(ModeName(mode)) + "; " + (boxes.empty() ? "no box checked" : boxes);
}

}  // namespace purgent
