#include "purgent_sim/run_report.h"

#include <algorithm>
#include <filesystem>

#include "image/ansi_text.h"
#include "image/reg_text_format.h"
#include "purgent_sim/trace_fields.h"

namespace purgent::sim {
namespace {

std::string WindowsErrorText(const std::string& code) {
    if (code == "5") return "5: access denied";
    if (code == "32") return "32: in use by another program";
    return code;
}

}  // namespace

ImageLists ReadImageLists(const std::string& imageDir) {
    ImageLists lists;
    const std::string bystanders = imageDir + "/bystanders.txt";
    const std::string kept = imageDir + "/kept-client-items.txt";
    if (std::filesystem::exists(std::filesystem::u8path(bystanders))) {
        lists.bystandersListed = true;
        lists.bystanders = demo::ReadItemList(bystanders);
    }
    if (std::filesystem::exists(std::filesystem::u8path(kept))) demo::ReadItemList(kept, &lists.keptReasons);
    return lists;
}

std::string MachineNameOf(const image::MachineImage& machine, const std::optional<std::string>& imageDir) {
    const image::RegistryKeys registry = image::NetRegistry(machine.registry);
    const image::RegistryKey* key = image::FindKey(registry, ComputerNameKey);
    const image::RegistryValue* value = key ? image::FindValue(*key, "ComputerName") : nullptr;
    if (value && (value->type == image::RegSzType || value->type == image::RegExpandSzType)) {
        const std::string name(value->data.begin(), std::find(value->data.begin(), value->data.end(), 0));
        if (!name.empty()) return name;
    }
    if (!imageDir) return "a bare NT workstation";
    // "demo/workstation/" and "." name their folder too.
    std::filesystem::path folder = std::filesystem::absolute(std::filesystem::u8path(*imageDir)).lexically_normal();
    if (!folder.has_filename()) folder = folder.parent_path();
    return image::TextFileToAnsi(folder.filename().string());
}

RunOutcome OutcomeOf(const std::vector<std::string>& trace) {
    RunOutcome result{"completed", 0};
    std::string phase, item, error;
    for (const std::string& line : trace) {
        const std::string event = EventName(line);
        const std::string field = EventFields(line, 1)[0];
        if (event == "phase") phase = field;
        if (event == "item") item = field;
        if (event == "error" && error.empty()) error = field;
        if (event == "exit") result.exitStatus = std::stoi(field);
    }
    if (result.exitStatus == 3)
        result.outcome = "invalid command line";
    else if (!error.empty())
        result.outcome = "ended on an error: " + error;
    else if (phase == "Purgent Halted")
        result.outcome = "halted: " + item;
    return result;
}

report::RefusedChange RefusedChangeOf(const std::string& failureNote) {
    // "# failed", the event it would have been, its fields, the error.
    const std::size_t errorStart = failureNote.rfind('\t');
    const std::string event = failureNote.substr(failureNote.find('\t') + 1);
    const std::vector<std::string> f = EventFields(event.substr(0, event.rfind('\t')), 3);
    const std::string name = EventName(event);
    std::string change = name + " " + f[0];
    if (name == "reg-delete-key") change = "delete key " + f[0];
    if (name == "reg-delete-value") change = "delete value [" + f[1] + "] of " + f[0];
    if (name == "reg-set-value") change = "set value [" + f[1] + "] of " + f[0] + " to " + f[2];
    if (name == "file-delete") change = "delete file " + f[0];
    if (name == "dir-remove") change = "remove folder " + f[0];
    if (name == "file-attr") change = "set the attributes of " + f[0] + " to " + f[1];
    return {change, WindowsErrorText(failureNote.substr(errorStart + 1))};
}

report::KeptItem KeptItemOf(const std::string& keptNote) {
    // "# kept", the item, the reason.
    const std::vector<std::string> f = EventFields(keptNote, 2);
    return {f[0], f[1]};
}

report::ReportPage ReportPageOf(const std::string& title, const std::vector<std::string>& trace,
                                const std::vector<std::string>& failureNotes, const std::vector<std::string>& keptNotes,
                                const image::MachineImage& before, const image::MachineImage& after,
                                const ImageLists& lists) {
    report::ReportPage page;
    page.title = title;
    const RunOutcome outcome = OutcomeOf(trace);
    page.outcome = outcome.outcome;
    page.exitStatus = outcome.exitStatus;
    page.changes = demo::Compare(before, after, lists.bystanders, lists.keptReasons);
    page.bystandersListed = lists.bystandersListed;
    for (const std::string& note : failureNotes) page.refused.push_back(RefusedChangeOf(note));
    for (const std::string& note : keptNotes) page.kept.push_back(KeptItemOf(note));
    for (const std::string& line : trace) {
        const std::string event = EventName(line);
        const std::vector<std::string> f = EventFields(line, 2);
        if (event == "kill" && f[1] == "0") page.processesEnded.push_back(f[0]);
        if (event == "location") page.locations.emplace_back(f[0], f[1]);
        if (event == "profile") page.profiles.push_back(ProfileLabel(f[0], f[1]));
    }
    return page;
}

}  // namespace purgent::sim
