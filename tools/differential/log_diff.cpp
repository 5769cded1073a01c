#include "log_diff.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <vector>

#include "image/ansi_text.h"

namespace purgent::differential {
namespace {

const char* const kWinesOwnData = "Wine's own data: the image does not name it";

struct Event {
    std::string line;
    std::string folded;
    std::vector<std::string> fields;  // the event's name first
};

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, separator);) fields.push_back(field);
    return fields;
}

std::string Folded(std::string text) {
    for (char& c : text) c = image::FoldCase(c);
    return text;
}

bool AtOrBelow(const std::string& path, const std::string& top) {
    const std::string p = Folded(path), t = Folded(top);
    return p == t || (p.size() > t.size() && p.compare(0, t.size(), t) == 0 && p[t.size()] == '\\');
}

std::vector<Event> Events(const std::string& log) {
    std::vector<Event> events;
    for (const std::string& line : image::SplitLines(log))
        if (!line.empty() && line[0] != '#') events.push_back({line, Folded(line), Split(line, '\t')});
    return events;
}

bool DeletedByRegsvr(const Event& event, const image::MachineImage& generated) {
    if (event.fields.size() < 2 || event.fields[0] != "reg-delete-key") return false;
    for (const image::DllEntry& dll : generated.machine.dlls)
        for (const std::string& key : dll.unregisters)
            if (AtOrBelow(event.fields[1], key)) return true;
    return false;
}

// The key or file an event is about: its first field, the folder of a
// location, or the DLL a regsvr32 command line names.
std::string Subject(const Event& event) {
    if (event.fields.size() < 2) return "";
    if (event.fields[0] == "location" && event.fields.size() > 2) return event.fields[2];
    if (event.fields[0] == "launch" && event.fields.size() > 2) {
        std::string dll = event.fields[2].substr(std::min(event.fields[2].find(" /s "), event.fields[2].size()));
        dll = dll.size() > 4 ? dll.substr(4) : "";
        dll.erase(std::remove(dll.begin(), dll.end(), '"'), dll.end());
        return dll;
    }
    return event.fields[1];
}

// An event of the real program about a key, value or file the image does
// not name: Wine's own data (as Wine's own msxml4 classes, which /rws
// removes), which the simulated machine does not have.
bool AboutWinesOwn(const Event& event, const image::MachineImage& generated, const image::RegistryKeys& named) {
    const std::string& name = event.fields.front();
    if (event.fields.size() < 2) return false;
    if (name.rfind("reg-", 0) == 0) {
        const image::RegistryKey* key = image::FindKey(named, event.fields[1]);
        return !key || (name != "reg-delete-key" && event.fields.size() > 2 && !image::FindValue(*key, event.fields[2]));
    }
    if (name.rfind("file-", 0) == 0 || name == "dir-remove")
        return !image::FindDriveItem(generated.drive, event.fields[1]);
    return false;
}

// Wine lists a key's values sorted by name, Windows (and the simulator) in
// the order they were written: the deletions of one key's values, one after
// the other, are compared in name order.
void SortValueDeletions(std::vector<Event>& events) {
    const auto sameKey = [](const Event& a, const Event& b) {
        return a.fields.size() > 2 && b.fields.size() > 2 && a.fields[0] == "reg-delete-value" &&
               b.fields[0] == "reg-delete-value" && Folded(a.fields[1]) == Folded(b.fields[1]);
    };
    for (auto run = events.begin(); run != events.end();) {
        auto end = run + 1;
        while (end != events.end() && sameKey(*run, *end)) ++end;
        std::sort(run, end, [](const Event& a, const Event& b) { return a.folded < b.folded; });
        run = end;
    }
}

bool IsStatusEvent(const Event& event) {
    const std::string& name = event.fields.front();
    return name == "phase" || name == "item" || name == "progress";
}

// Progress compared by its steps: one step more on one side (an item only
// that side has) would otherwise put every later position out of line.
void CompareProgressBySteps(std::vector<Event>& events) {
    long previous = 0;
    for (Event& event : events) {
        if (event.fields.front() != "progress" || event.fields.size() < 3) continue;
        const long position = std::strtol(event.fields[1].c_str(), nullptr, 10);
        // Back to 0 is the bar's reset, whatever the steps before it came to.
        const std::string step = position == 0 ? "=0" : "+" + std::to_string(position - previous);
        event.folded = "PROGRESS\t" + step + "\t" + event.fields[2];
        previous = position;
    }
}

// The events of a and b in neither's common subsequence.
void Unmatched(const std::vector<Event>& a, const std::vector<Event>& b, std::vector<const Event*>& onlyA,
               std::vector<const Event*>& onlyB) {
    std::vector<std::vector<int>> common(a.size() + 1, std::vector<int>(b.size() + 1, 0));
    for (std::size_t i = a.size(); i-- > 0;)
        for (std::size_t j = b.size(); j-- > 0;)
            common[i][j] = a[i].folded == b[j].folded ? common[i + 1][j + 1] + 1
                                                      : std::max(common[i + 1][j], common[i][j + 1]);
    std::size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        if (i < a.size() && j < b.size() && a[i].folded == b[j].folded) {
            ++i, ++j;
        } else if (j == b.size() || (i < a.size() && common[i + 1][j] >= common[i][j + 1])) {
            onlyA.push_back(&a[i++]);
        } else {
            onlyB.push_back(&b[j++]);
        }
    }
}

// What the status bar may name of a key or file set apart: a full path, or a
// registry path below a root ("\\Software\\...", "\\Purgent.UserHive\\...",
// "\\CLSID\\..." below the classes).
std::vector<std::string> ItemSubjects(const std::string& item) {
    if (item.empty() || item[0] != '\\') return {item};
    return {"HKEY_LOCAL_MACHINE" + item, "HKEY_CURRENT_USER" + item, "HKEY_USERS" + item,
            "HKEY_LOCAL_MACHINE\\Software\\Classes" + item};
}

// Why the status bar's item names something set apart: a rule covers it, or
// it is Wine's own data; "" when neither.
std::string ItemSetApart(const Event& item, const Findings& findings, const std::vector<std::string>& winesOwn) {
    if (item.fields.size() < 2) return "";
    for (const std::string& subject : ItemSubjects(item.fields[1])) {
        const std::string rule = findings.RuleCovering(subject);
        if (!rule.empty()) return rule;
        for (const std::string& own : winesOwn)
            if (AtOrBelow(subject, own)) return kWinesOwnData;
    }
    return "";
}

// Takes out of one side's status bar each item naming what a rule or Wine's
// own data sets apart, with the progress step right after it, before the
// comparison: where the two sides reach such a thing in another order (a
// listing only Wine makes), the rest still lines up.
void SetApartStatus(std::vector<Event>& status, const std::string& where, Findings& findings,
                    const std::vector<std::string>& winesOwn) {
    std::vector<Event> kept;
    std::string stepOf;  // the reason of the item just set apart
    for (Event& event : status) {
        const std::string& name = event.fields.front();
        const std::string reason = name == "item"       ? ItemSetApart(event, findings, winesOwn)
                                   : name == "progress" ? stepOf
                                                        : "";
        stepOf = name == "item" ? reason : "";
        if (reason.empty())
            kept.push_back(std::move(event));
        else
            findings.Exclude(where + event.line, reason + (name == "item" ? "" : ": its item's step"));
    }
    status = std::move(kept);
}

// The value a value's event is about ("" for other events).
std::string ValueName(const Event& event) {
    const std::string& name = event.fields.front();
    return (name == "reg-delete-value" || name == "reg-set-value") && event.fields.size() > 2 ? event.fields[2] : "";
}

void Report(const std::vector<const Event*>& onlyWine, const std::vector<const Event*>& onlySim, Findings& findings) {
    for (const Event* event : onlyWine)
        findings.Add(Subject(*event), "log event only on Wine: " + event->line, ValueName(*event));
    for (const Event* event : onlySim)
        findings.Add(Subject(*event), "log event only in the simulator: " + event->line, ValueName(*event));
}

// Takes out of the real program's changes each one Windows would have
// refused where Wine opens a protected key: what is left is what the
// simulator must show, so its making such a change is a difference.
void SetApartRefused(std::vector<Event>& wineChanges, const image::MachineImage& generated, Findings& findings) {
    std::erase_if(wineChanges, [&](const Event& event) {
        if (event.fields.size() < 2 || !RefusedOnWindows(generated, event.fields[0], event.fields[1])) return false;
        findings.Exclude("log event on Wine: " + event.line, kFullAccess);
        return true;
    });
}

}  // namespace

bool HasEvents(const std::string& log) { return !Events(log).empty(); }

std::size_t CompareLogs(const std::string& wineLog, const std::string& simLog, const image::MachineImage& generated,
                 Findings& findings) {
    const std::vector<Event> wine = Events(wineLog);
    std::vector<Event> sim = Events(simLog);
    std::erase_if(sim, [&](const Event& event) { return DeletedByRegsvr(event, generated); });
    // The status bar's events apart from the others, so that where they
    // differ they cannot pull the others out of line.
    const auto part = [](const std::vector<Event>& events, bool status) {
        std::vector<Event> kept;
        std::copy_if(events.begin(), events.end(), std::back_inserter(kept),
                     [&](const Event& event) { return IsStatusEvent(event) == status; });
        return kept;
    };
    std::vector<Event> wineChanges = part(wine, false), simChanges = part(sim, false);
    SetApartRefused(wineChanges, generated, findings);
    SortValueDeletions(wineChanges);
    SortValueDeletions(simChanges);
    std::vector<Event> wineStatus = part(wine, true), simStatus = part(sim, true);
    CompareProgressBySteps(wineStatus);
    CompareProgressBySteps(simStatus);
    std::vector<const Event*> onlyWine, onlySim;
    Unmatched(wineChanges, simChanges, onlyWine, onlySim);
    const image::RegistryKeys named = image::NetRegistry(generated.registry);
    std::vector<std::string> winesOwn;
    std::erase_if(onlyWine, [&](const Event* event) {
        if (!AboutWinesOwn(*event, generated, named)) return false;
        winesOwn.push_back(Subject(*event));
        findings.Exclude("log event only on Wine: " + event->line, kWinesOwnData);
        return true;
    });
    Report(onlyWine, onlySim, findings);
    SetApartStatus(wineStatus, "status bar on Wine: ", findings, winesOwn);
    SetApartStatus(simStatus, "status bar in the simulator: ", findings, winesOwn);
    onlyWine.clear();
    onlySim.clear();
    Unmatched(wineStatus, simStatus, onlyWine, onlySim);
    Report(onlyWine, onlySim, findings);
    return wineStatus.size() + simStatus.size();
}

}  // namespace purgent::differential
