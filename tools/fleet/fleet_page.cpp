#include "fleet_page.h"

#include <string>

#include "html_text.h"
#include "machines.h"

namespace purgent::fleet {
namespace {

using report::HtmlEscape;

constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:2em;color:#222}h1{font-size:1.5em}h2{font-size:1.2em;margin-top:1.5em}"
    "h3{font-size:1em;margin:.8em 0 .2em}table{border-collapse:collapse}"
    "td,th{padding:.2em .6em;border-bottom:1px solid #ccc;text-align:left;vertical-align:top}"
    "#machines th{cursor:pointer;background:#eee}td.n{text-align:right}td.computer{white-space:nowrap}"
    ".interrupted,.error{background:#fcc}.halted,.invalid{background:#ffd}"
    ".attention .completed{background:#fe9}.clean .completed{background:#dfd}"
    "tr.drill>td{border-bottom:2px solid #999}summary{cursor:pointer;color:#555}"
    ".notes td,ul{font-family:monospace;white-space:pre-wrap}";

// Sorts the machines by the column whose title is clicked; again reverses.
constexpr const char* kSortScript =
    "for(const th of document.querySelectorAll('#machines thead th'))th.onclick=()=>{"
    "const t=th.closest('table'),i=th.cellIndex,up=th.dataset.up!=='1';th.dataset.up=up?'1':'0';"
    "const k=b=>{const c=b.rows[0].cells[i];return c.dataset.sort??c.textContent};"
    "const s=[...t.tBodies].sort((a,b)=>{const x=k(a),y=k(b),n=x-y;"
    "return (isNaN(n)?x.localeCompare(y):n)*(up?1:-1)});for(const b of s)t.append(b)};";

constexpr const char* kOutcomeClasses[kOutcomes] = {"interrupted", "error", "halted", "invalid", "completed"};

std::string Cell(const std::string& text, const std::string& cssClass = "", const std::string& sortKey = "") {
    std::string cell = "<td";
    if (!cssClass.empty()) cell += " class=\"" + cssClass + "\"";
    if (!sortKey.empty()) cell += " data-sort=\"" + sortKey + "\"";
    return cell + ">" + HtmlEscape(text) + "</td>";
}

std::string Row(const std::vector<std::string>& cells, const char* tag = "td") {
    std::string row = "<tr>";
    for (const std::string& cell : cells) row += std::string("<") + tag + ">" + HtmlEscape(cell) + "</" + tag + ">";
    return row + "</tr>\n";
}

// A titled part of the drill-down, its count in the title.
void Part(std::ostream& out, const std::string& title, std::size_t count) {
    out << "<h3>" << HtmlEscape(title) << " (" << count << ")</h3>\n";
}

// A `# failed` note's cells: the change, what it was done to (its fields,
// tabs kept), the Windows error.
std::vector<std::string> FailedCells(const std::string& note) {
    const std::size_t first = note.find('\t'), last = note.rfind('\t');
    if (first == std::string::npos) return {note, "", ""};
    if (first == last) return {note.substr(0, first), note.substr(first + 1), ""};
    return {note.substr(0, first), note.substr(first + 1, last - first - 1), note.substr(last + 1)};
}

// A `# kept` note's cells: the path, the reason.
std::vector<std::string> KeptCells(const std::string& note) {
    const std::size_t tab = note.find('\t');
    if (tab == std::string::npos) return {note, ""};
    return {note.substr(0, tab), note.substr(tab + 1)};
}

// Notes as a table, each note split into its cells; nothing when there are none.
void NotesTable(std::ostream& out, const std::vector<std::string>& head, const std::vector<std::string>& notes,
                std::vector<std::string> (*cells)(const std::string&)) {
    if (notes.empty()) return;
    out << "<table class=\"notes\">" << Row(head, "th");
    for (const std::string& note : notes) out << Row(cells(note));
    out << "</table>\n";
}

void List(std::ostream& out, const std::vector<std::string>& items) {
    if (items.empty()) return;
    out << "<ul>";
    for (const std::string& item : items) out << "<li>" << HtmlEscape(item) << "</li>";
    out << "</ul>\n";
}

void RunsTable(std::ostream& out, const LogRecord& log) {
    std::vector<std::string> head{"run", "local time", "version", "outcome", "exit status"};
    head.insert(head.end(), kKindNames.begin(), kKindNames.end());
    head.insert(head.end(), {"failed", "kept"});
    out << "<table class=\"runs\">" << Row(head, "th");
    for (std::size_t i = 0; i < log.runs.size(); ++i) {
        const RunRecord& run = log.runs[i];
        std::vector<std::string> cells{std::to_string(i + 1), run.Field("local time"), run.version,
                                       OutcomeName(Judge(run).outcome),
                                       run.exitStatus ? std::to_string(*run.exitStatus) : ""};
        for (const std::size_t count : run.counts) cells.push_back(std::to_string(count));
        cells.insert(cells.end(), {std::to_string(run.failed.size()), std::to_string(run.kept.size())});
        out << Row(cells);
    }
    out << "</table>\n";
}

void DrillDown(std::ostream& out, const Machine& m) {
    const RunRecord& run = *m.run;
    out << "<details><summary>" << HtmlEscape(m.computer) << ": what failed (" << run.failed.size()
        << "), what was kept (" << run.kept.size() << "), runs in the log (" << m.log->runs.size()
        << ")</summary>\n<table>"
        << Row({"log file", m.log->path});
    for (const auto& [label, value] : run.header) out << Row({label, value});
    out << "</table>\n";
    Part(out, "What failed", run.failed.size());
    NotesTable(out, {"change", "item", "Windows error"}, run.failed, FailedCells);
    Part(out, "What was kept", run.kept.size());
    NotesTable(out, {"path", "reason"}, run.kept, KeptCells);
    Part(out, "Scheduled for deletion at the next restart", run.restartPending.size());
    List(out, run.restartPending);
    if (!run.busy.empty() || !run.otherNotes.empty()) {
        Part(out, "Other notes", run.busy.size() + run.otherNotes.size());
        List(out, run.busy);
        List(out, run.otherNotes);
    }
    Part(out, "Runs in this log, the last one the machine's", m.log->runs.size());
    RunsTable(out, *m.log);
    out << "</details>";
}

// The titles of the machines' table, a cell of each row under each.
std::vector<std::string> MachineColumns() {
    std::vector<std::string> head{"computer", "outcome", "restart", "failed", "kept"};
    head.insert(head.end(), kKindNames.begin(), kKindNames.end());
    head.insert(head.end(), {"local time", "version", "remark"});
    return head;
}

void MachineRows(std::ostream& out, const Machine& m) {
    const RunRecord& run = *m.run;
    const auto outcome = static_cast<std::size_t>(m.verdict.outcome);
    out << "<tbody class=\"machine " << (m.verdict.needsAttention ? "attention" : "clean") << "\">\n<tr>"
        << Cell(m.computer, "computer")
        << Cell(OutcomeName(m.verdict.outcome), std::string("outcome ") + kOutcomeClasses[outcome],
                std::to_string(m.verdict.rank))
        << Cell(m.verdict.restartPending ? "restart pending" : "", "restart")
        << Cell(std::to_string(run.failed.size()), "n failed") << Cell(std::to_string(run.kept.size()), "n kept");
    for (std::size_t kind = 0; kind < kKinds; ++kind) out << Cell(std::to_string(run.counts[kind]), "n count");
    out << Cell(run.Field("local time")) << Cell(run.version) << Cell(m.verdict.remark, "remark") << "</tr>\n";
    out << "<tr class=\"drill\"><td colspan=\"" << MachineColumns().size() << "\">";
    DrillDown(out, m);
    out << "</td></tr>\n</tbody>\n";
}

void OutcomeCounts(std::ostream& out, const Tally& tally) {
    out << "<table class=\"outcomes\">" << Row({"outcome", "machines"}, "th");
    for (std::size_t i = 0; i < std::size(kOutcomeClasses); ++i)
        out << "<tr>" << Cell(OutcomeName(static_cast<Outcome>(i)), kOutcomeClasses[i])
            << Cell(std::to_string(tally.perOutcome[i]), "n", kOutcomeClasses[i]) << "</tr>\n";
    out << "<tr>" << Cell("with failed notes") << Cell(std::to_string(tally.withFailedNotes), "n") << "</tr>\n<tr>"
        << Cell("restart pending") << Cell(std::to_string(tally.restartPending), "n") << "</tr>\n</table>\n";
}

}  // namespace

void WritePage(std::ostream& out, const std::vector<LogRecord>& logs) {
    const std::vector<Machine> machines = MachinesInOrder(logs);
    const std::vector<const LogRecord*> files = FilesNotRead(logs);
    const Tally tally = Count(machines);
    out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>Purgent fleet report</title>"
        << "<style>" << kStyle << "</style></head>\n<body>\n<h1>Purgent fleet report</h1>\n<p class=\"totals\">"
        << HtmlEscape(TotalsText(tally, machines.size(), files.size())) << "; " << tally.attention << " of "
        << machines.size() << " machines need attention.</p>\n";
    OutcomeCounts(out, tally);
    out << "<h2>Machines, those that need attention first</h2>\n"
           "<p>A column's title sorts the table by it. Each machine's drill-down tells what failed, what was "
           "kept and every run of its log.</p>\n<table id=\"machines\"><thead><tr>";
    for (const std::string& title : MachineColumns()) out << "<th>" << HtmlEscape(title) << "</th>";
    out << "</tr></thead>\n";
    for (const Machine& m : machines) MachineRows(out, m);
    out << "</table>\n<h2>Files that are not run logs (" << files.size() << ")</h2>\n";
    std::vector<std::string> fileLines;
    for (const LogRecord* file : files) fileLines.push_back(file->path + ": " + file->problem);
    List(out, fileLines);
    out << "<script>" << kSortScript << "</script>\n</body></html>\n";
}

}  // namespace purgent::fleet
