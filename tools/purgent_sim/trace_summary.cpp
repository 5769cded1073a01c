#include "purgent_sim/trace_summary.h"

#include <algorithm>
#include <map>
#include <sstream>

#include "platform/sim/sim_names.h"
#include "purgent_sim/trace_fields.h"

namespace purgent::sim {
namespace {

using Row = std::vector<std::string>;

// The report page counts the image's items instead; a reader of both is told why they differ.
constexpr const char* kCountsSaid =
    "These are the run's changes as the trace records them: a deleted key once however much went\n"
    "with it, the parent keys the image only implies and the keys of users' hives included, a value\n"
    "only when deleted on its own, a DLL registration for each regsvr32 run; the report page (--report)\n"
    "counts every key and value the image names that went, those inside a deleted key included and\n"
    "users' hive keys apart, so its numbers differ.\n";

// Columns padded to their widest cell; the first is left-aligned, the others
// too when they hold text, right-aligned when they hold counts.
std::string Table(const std::vector<Row>& rows, bool counts) {
    std::vector<std::size_t> widths;
    for (const Row& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
    }
    std::string text;
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            const std::string padding(widths[i] - row[i].size(), ' ');
            if (i > 0) line += "  ";
            line += counts && i > 0 ? padding + row[i] : row[i] + padding;
        }
        text += line.erase(line.find_last_not_of(' ') + 1) + '\n';
    }
    return text;
}

// A titled list; "" when it is empty.
std::string List(const std::string& title, const std::vector<Row>& rows) {
    return rows.empty() ? "" : title + '\n' + Table(rows, false);
}

std::string Count(std::size_t count) { return std::to_string(count); }

// The default value as regedit writes it.
std::string ValueName(const std::string& name) { return name.empty() ? "@" : name; }

struct Hive {
    std::string name;
    std::size_t keys = 0;
    std::size_t values = 0;
    std::size_t changedValues = 0;
    std::vector<Row> changes;
};

class TraceSummary {
public:
    void Add(const std::string& line) {
        const std::string event = EventName(line);
        if (event == "location") {
            const Row f = EventFields(line, 2);
            locations_.push_back({"  " + f[0], f[1].empty() ? "(not found)" : f[1]});
        } else if (event == "profile") {
            const Row f = EventFields(line, 2);
            profiles_.push_back({"  " + f[0], ProfileLabel(f[0], f[1])});
        } else if (event == "kill") {
            kills_.push_back(EventFields(line, 2));
        } else if (event == "close-window") {
            closedWindows_.push_back({"  " + EventFields(line, 1)[0]});
        } else if (event == "message" || event == "error") {
            messages_.push_back({"  " + event, EventFields(line, 1)[0]});
        } else if (event == "launch") {
            const Row f = EventFields(line, 2);
            const bool regsvr = SameName(f[0].substr(f[0].find_last_of('\\') + 1), "regsvr32.exe");
            (regsvr ? dllRegistrations_ : programs_).push_back({"  " + f[1]});
        } else if (event == "hive-load") {
            const Row f = EventFields(line, 2);
            mounted_[FoldName(f[0])] = f[1];
        } else if (event == "hive-unload") {
            mounted_.erase(FoldName(EventFields(line, 1)[0]));
        } else if (event == "reg-delete-key") {
            const Row f = EventFields(line, 1);
            Hive& hive = HiveOf(f[0]);
            ++hive.keys;
            hive.changes.push_back({"  key deleted", f[0]});
        } else if (event == "reg-delete-value") {
            const Row f = EventFields(line, 2);
            Hive& hive = HiveOf(f[0]);
            ++hive.values;
            hive.changes.push_back({"  value deleted", f[0] + "  " + ValueName(f[1])});
        } else if (event == "reg-set-value") {
            const Row f = EventFields(line, 3);
            Hive& hive = HiveOf(f[0]);
            ++hive.changedValues;
            hive.changes.push_back({"  value changed", f[0] + "  " + ValueName(f[1]) + " = " + f[2]});
        } else if (event == "file-delete") {
            ++files_;
            fileChanges_.push_back({"  file deleted", EventFields(line, 1)[0]});
        } else if (event == "dir-remove") {
            ++folders_;
            fileChanges_.push_back({"  folder removed", EventFields(line, 1)[0]});
        } else if (event == "file-attr") {
            const Row f = EventFields(line, 2);
            ++attributes_;
            fileChanges_.push_back({"  attributes changed", f[0] + " = " + f[1]});
        } else if (event == "phase" || event == "item") {
            (event == "phase" ? phase_ : item_) = EventFields(line, 1)[0];
        } else if (event == "exit") {
            exit_ = EventFields(line, 1)[0];
        }
    }

    void Write(std::ostream& out, const std::function<std::string(int)>& killResult) const {
        std::vector<Row> processes;
        for (const Row& kill : kills_)
            processes.push_back({"  " + kill[0], killResult(std::stoi(kill[1])) + " (" + kill[1] + ")"});
        std::vector<std::string> blocks{
            List("Locations found", locations_),
            List("Profiles, in the order they are visited", profiles_),
            List("Processes", processes),
            List("Windows sent the close request", closedWindows_),
            Counts(),
            PerHive(),
            List("Message boxes", messages_),
            List("Programs started", programs_),
            "Status bar at the end: " + phase_ + (item_.empty() ? "" : " | " + item_) + '\n' +
                "Exit status: " + exit_ + '\n'};
        for (const Hive& hive : hives_)
            blocks.push_back(List("Registry changes in " + hive.name, hive.changes));
        blocks.push_back(List("Files and folders", fileChanges_));
        blocks.push_back(List("DLL registrations removed", dllRegistrations_));

        const char* separator = "";
        for (const std::string& block : blocks) {
            if (block.empty()) continue;
            out << separator << block;
            separator = "\n";
        }
    }

private:
    // How many of each kind went or changed.
    std::string Counts() const {
        std::size_t keys = 0, values = 0, changedValues = 0;
        for (const Hive& hive : hives_) {
            keys += hive.keys;
            values += hive.values;
            changedValues += hive.changedValues;
        }
        const std::string none = "-";
        return Table({{"Changes", "deleted", "changed"},
                      {"  registry keys", Count(keys), none},
                      {"  registry values", Count(values), Count(changedValues)},
                      {"  files", Count(files_), Count(attributes_)},
                      {"  folders", Count(folders_), none},
                      {"  DLL registrations", Count(dllRegistrations_.size()), none}},
                     true) +
               kCountsSaid;
    }

    std::string PerHive() const {
        if (hives_.empty()) return "";
        std::vector<Row> rows{{"Registry, per hive", "keys deleted", "values deleted", "values changed"}};
        for (const Hive& hive : hives_)
            rows.push_back(
                {"  " + hive.name, Count(hive.keys), Count(hive.values), Count(hive.changedValues)});
        return Table(rows, true);
    }

    // A user hive the run mounted is named by its file, another hive of
    // HKEY_USERS by its key there, the rest by their root.
    Hive& HiveOf(const std::string& path) {
        const std::size_t rootEnd = path.find('\\');
        std::string name = path.substr(0, rootEnd);
        if (name == "HKEY_USERS" && rootEnd != std::string::npos) {
            name = path.substr(0, path.find('\\', rootEnd + 1));
            const auto mounted = mounted_.find(FoldName(name.substr(rootEnd + 1)));
            if (mounted != mounted_.end()) name = mounted->second + " (loaded as " + name + ")";
        }
        const auto found =
            std::find_if(hives_.begin(), hives_.end(), [&](const Hive& hive) { return hive.name == name; });
        if (found != hives_.end()) return *found;
        hives_.emplace_back().name = name;
        return hives_.back();
    }

    std::vector<Row> locations_, profiles_, kills_, closedWindows_, messages_, programs_, dllRegistrations_;
    std::map<std::string, std::string> mounted_;  // folded key name under HKEY_USERS -> hive file
    std::vector<Hive> hives_;
    std::vector<Row> fileChanges_;
    std::size_t files_ = 0, folders_ = 0, attributes_ = 0;
    std::string phase_, item_, exit_;
};

}  // namespace

void WriteTraceSummary(const std::vector<std::string>& traceLines,
                       const std::function<std::string(int)>& killResult, std::ostream& out) {
    TraceSummary summary;
    for (const std::string& line : traceLines) summary.Add(line);
    summary.Write(out, killResult);
}

}  // namespace purgent::sim
