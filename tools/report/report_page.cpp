#include "report_page.h"

#include <algorithm>
#include <cstdint>

#include "html_text.h"
#include "image/ansi_text.h"

namespace purgent::report {
namespace {

constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:2em;max-width:70em;color:#222}"
    "h1{font-size:1.5em}h2{font-size:1.2em;margin-top:1.5em}"
    ".verdict{font-size:1.2em;font-weight:bold;padding:.5em;border-radius:4px}"
    ".completed{background:#dfd}.halted{background:#ffd}.error{background:#fdd}"
    "table{border-collapse:collapse}td,th{padding:.2em .8em;border-bottom:1px solid #ccc;text-align:left}"
    "td.n{text-align:right}details{margin:.3em 0 .3em 1em}summary{cursor:pointer}"
    "ul,ol{margin:.2em 0;font-family:monospace}";

using Pair = std::pair<std::string, std::string>;

// The hive a key lies in (its root, or a hive of HKEY_USERS) and the key's
// path within it.
Pair SplitHive(const std::string& key) {
    std::size_t end = key.find('\\');
    if (end != std::string::npos && image::EqualsIgnoreCase(key.substr(0, end), "HKEY_USERS"))
        end = key.find('\\', end + 1);
    if (end == std::string::npos) return {key, ""};
    return {key.substr(0, end), key.substr(end + 1)};
}

Pair SplitFolder(const std::string& path) {
    const std::size_t end = path.rfind('\\');
    if (end == std::string::npos) return {"", path};
    const std::string folder = path.substr(0, end);
    return {folder.back() == ':' ? folder + '\\' : folder, path.substr(end + 1)};
}

// A value's name; the default value has none.
std::string ValueName(const std::string& name) {
    return "[" + (name.empty() ? std::string("(default)") : name) + "]";
}

// Where an item lies and its name there.
Pair PlaceAndName(const demo::Item& item) {
    const std::size_t tab = item.id.find('\t');
    switch (item.kind) {
        case demo::Kind::Key:
            return SplitHive(item.id);
        case demo::Kind::Value: {
            const auto [hive, key] = SplitHive(item.id.substr(0, tab));
            return {hive, key + " " + ValueName(item.id.substr(tab + 1))};
        }
        case demo::Kind::HiveKey:
            return {item.id.substr(0, tab), SplitHive(item.id.substr(tab + 1)).second};
        default:
            return SplitFolder(item.id);
    }
}

// An item's whole name, as a reader tells it from the others.
std::string ItemText(const demo::Item& item) {
    const std::size_t tab = item.id.find('\t');
    switch (item.kind) {
        case demo::Kind::Value:
            return item.id.substr(0, tab) + " " + ValueName(item.id.substr(tab + 1));
        case demo::Kind::HiveKey:
            return item.id.substr(0, tab) + ": " + item.id.substr(tab + 1);
        case demo::Kind::Folder:
            return item.id + "\\";
        case demo::Kind::ComRegistration:
            return "COM registration of " + item.id;
        default:
            return item.id;
    }
}

class Page {
public:
    explicit Page(std::ostream& out) : out_(out) {}

    void Heading(const std::string& level, const std::string& text) {
        out_ << '<' << level << '>' << HtmlText(text) << "</" << level << ">\n";
    }
    void Paragraph(const std::string& text, const std::string& cssClass = "") {
        out_ << "<p" << (cssClass.empty() ? "" : " class=\"" + cssClass + "\"") << '>' << HtmlText(text) << "</p>\n";
    }
    // A section that opens and closes, its count in its title.
    void Open(const std::string& title, std::size_t count) {
        out_ << "<details><summary>" << HtmlText(title) << " (" << count << ")</summary>\n";
    }
    void Close() { out_ << "</details>\n"; }
    void List(const std::vector<std::string>& items, const char* tag = "ul") {
        out_ << '<' << tag << '>';
        for (const std::string& item : items) out_ << "<li>" << HtmlText(item) << "</li>";
        out_ << "</" << tag << ">\n";
    }
    // Cells right-aligned from column numbersFrom on.
    void Table(const std::vector<std::string>& head, const std::vector<std::vector<std::string>>& rows,
               std::size_t numbersFrom = SIZE_MAX) {
        out_ << "<table><tr>";
        for (const std::string& cell : head) out_ << "<th>" << HtmlText(cell) << "</th>";
        out_ << "</tr>\n";
        for (const auto& row : rows) {
            out_ << "<tr>";
            for (std::size_t i = 0; i < row.size(); ++i)
                out_ << (i >= numbersFrom ? "<td class=\"n\">" : "<td>") << HtmlText(row[i]) << "</td>";
            out_ << "</tr>\n";
        }
        out_ << "</table>\n";
    }

private:
    std::ostream& out_;
};

std::string OutcomeClass(const std::string& outcome) {
    for (const char* word : {"completed", "halted"})
        if (outcome.rfind(word, 0) == 0) return word;
    return "error";
}

void WriteCounts(Page& page, const ReportPage& report) {
    std::vector<std::vector<std::string>> rows;
    for (const demo::KindCounts& kind : demo::CountsPerKind(report.changes)) {
        const std::string kept = report.bystandersListed ? std::to_string(kind.bystandersKept) + " of " +
                                                               std::to_string(kind.bystanders)
                                                         : "not listed";
        rows.push_back({kind.label, std::to_string(kind.went), std::to_string(kind.changed), kept});
    }
    rows.push_back({"processes ended", std::to_string(report.processesEnded.size()), "-", "-"});
    page.Table({"kind", "went", "changed", "bystanders kept"}, rows, 1);
    page.Paragraph(
        "These counts compare the image's items before and after the run: every key and value the image names "
        "that went, those inside a deleted key included, the keys of users' hive files apart, and a COM "
        "registration when the keys the image lists for its DLL went; purgent-sim --summary counts the run's "
        "changes instead, a deleted key once however much went with it but also the parent keys the image only "
        "implies and the keys of users' hives, a value only when deleted on its own, a DLL registration for each "
        "regsvr32 run, so its numbers differ.");
}

void WriteWhatGoes(Page& page, const ReportPage& report, FirstSpellings& spellings) {
    page.Heading("h2", "What goes");
    for (const KindGroup& kind : GroupedByKindAndPlace(report.changes, spellings)) {
        page.Open(kind.label, kind.count);
        for (const Place& place : kind.places) {
            page.Open(place.name, place.items.size());
            page.List(place.items);
            page.Close();
        }
        page.Close();
    }
    if (!report.processesEnded.empty()) {
        page.Open("processes ended", report.processesEnded.size());
        page.List(report.processesEnded);
        page.Close();
    }
}

void WriteWhatStays(Page& page, const ReportPage& report, FirstSpellings& spellings) {
    page.Heading("h2", "What stays of the client's");
    page.Open("changes Windows refused", report.refused.size());
    std::vector<std::vector<std::string>> refused;
    for (const RefusedChange& change : report.refused) refused.push_back({change.change, change.error});
    page.Table({"change", "Windows error"}, refused);
    page.Close();
    page.Open("left alone on purpose", report.kept.size());
    std::vector<std::vector<std::string>> kept;
    for (const KeptItem& item : report.kept) kept.push_back({item.item, item.reason});
    page.Table({"item", "why"}, kept);
    page.Close();
    if (report.bystandersListed) {
        const auto& stayed = report.changes.stayedClientItems;
        page.Open("client items that stayed, with the image's note", stayed.size());
        std::vector<std::vector<std::string>> rows;
        for (const auto& [item, note] : stayed)
            rows.push_back({ItemText(spellings.Of(item)), note.empty() ? "(no note)" : note});
        page.Table({"item", "note"}, rows);
        page.Close();
    }
}

void WriteBystanders(Page& page, const ReportPage& report, FirstSpellings& spellings) {
    page.Heading("h2", "Other programs' items");
    if (!report.bystandersListed) {
        page.Paragraph("The image lists no bystanders (bystanders.txt), so none are checked.");
        return;
    }
    const auto& lost = report.changes.lostBystanders;
    int listed = 0;
    for (const demo::KindCounts& kind : demo::CountsPerKind(report.changes)) listed += kind.bystanders;
    page.Paragraph(std::to_string(listed - static_cast<int>(lost.size())) + " of " + std::to_string(listed) +
                   " listed bystanders kept unchanged.");
    if (lost.empty()) return;
    std::vector<std::string> lines;
    for (const demo::Item& item : lost) lines.push_back(ItemText(spellings.Of(item)));
    page.Open("bystanders lost or changed", lines.size());
    page.List(lines);
    page.Close();
}

void WriteWhatWasRead(Page& page, const ReportPage& report) {
    page.Heading("h2", "What the run read");
    page.Open("locations", report.locations.size());
    std::vector<std::vector<std::string>> rows;
    for (const auto& [field, value] : report.locations) rows.push_back({field, value.empty() ? "(not found)" : value});
    page.Table({"location", "value"}, rows);
    page.Close();
    page.Open("profiles, in the order they are visited", report.profiles.size());
    page.List(report.profiles, "ol");
    page.Close();
}

}  // namespace

std::vector<KindGroup> GroupedByKindAndPlace(const demo::Report& changes, FirstSpellings& spellings) {
    std::vector<KindGroup> groups;
    for (const demo::KindCounts& kind : demo::CountsPerKind(changes)) {
        KindGroup group{kind.label, 0, {}};
        for (const demo::Item& item : changes.wentItems) {
            if (item.kind != kind.kind) continue;
            const auto [place, name] = PlaceAndName(spellings.Of(item));
            auto found = std::find_if(group.places.begin(), group.places.end(),
                                      [&](const Place& known) { return image::EqualsIgnoreCase(known.name, place); });
            if (found == group.places.end()) found = group.places.insert(group.places.end(), {place, {}});
            found->items.push_back(name);
            ++group.count;
        }
        if (group.count) groups.push_back(std::move(group));
    }
    return groups;
}

void WriteReportPage(const ReportPage& report, std::ostream& out) {
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>"
        << HtmlText("Purgent preview: " + report.title) << "</title>\n<style>" << kStyle << "</style>\n</head>\n<body>\n";
    Page page(out);
    page.Heading("h1", "Purgent preview");
    page.Paragraph(report.title);
    page.List({"Machine: " + report.machine, "Made: " + report.made, "Purgent version: " + report.version,
               "Command line: " + report.commandLine});
    page.Paragraph("Verdict: " + report.outcome + ", exit status " + std::to_string(report.exitStatus),
                   "verdict " + OutcomeClass(report.outcome));
    WriteCounts(page, report);
    FirstSpellings spellings;
    WriteWhatGoes(page, report, spellings);
    WriteWhatStays(page, report, spellings);
    WriteBystanders(page, report, spellings);
    WriteWhatWasRead(page, report);
    out << "</body>\n</html>\n";
}

}  // namespace purgent::report
