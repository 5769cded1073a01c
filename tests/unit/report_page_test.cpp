// purgent-sim's HTML report: what a reader of the page sees.
#include <gtest/gtest.h>

#include <sstream>

#include "html_text.h"
#include "purgent_sim/run_purgent.h"
#include "purgent_sim/run_report.h"
#include "report_page.h"

namespace purgent::report {
namespace {

using Lines = std::vector<std::string>;

// The page's text as a browser shows it: tags as blanks, runs of blanks as one.
std::string VisibleText(const std::string& html) {
    std::string text;
    bool inTag = false;
    for (const char c : html) {
        if (c == '<') inTag = true;
        const char shown = inTag || c == '\n' ? ' ' : c;
        if (shown != ' ' || (!text.empty() && text.back() != ' ')) text += shown;
        if (c == '>') inTag = false;
    }
    return text;
}

TEST(ReportHtml, EscapesMarkupAndWritesUtf8) {
    const struct {
        std::string ansi;
        std::string html;
    } cases[] = {
        {"C:\\Novell\\GroupWise", "C:\\Novell\\GroupWise"},
        {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
        {"a & b", "a &amp; b"},
        {"\"quoted\" 'single'", "&quot;quoted&quot; &#39;single&#39;"},
        {"Caf\xE9 \x80", "Caf\xC3\xA9 \xE2\x82\xAC"},  // Windows-1252 e-acute and euro sign
        {"&amp;", "&amp;amp;"},
    };
    for (const auto& c : cases) EXPECT_EQ(HtmlText(c.ansi), c.html) << c.ansi;
}

image::MachineImage WithWindows(int count) {
    image::MachineImage machine;
    for (const char* title : {"GroupWise", "Novell GroupWise"}) {
        if (count-- <= 0) break;
        machine.machine.windows.push_back({title, "", false, "", {}});
    }
    return machine;
}

TEST(ReportOutcome, TellsWhatTheRunEndedWith) {
    image::MachineImage wrongType;
    wrongType.registry.push_back({"HKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\News", {{"", 4, {1, 0, 0, 0}}}});
    const struct {
        image::MachineImage machine;
        Lines args;
        std::string outcome;
        int exitStatus;
    } cases[] = {
        {{}, {"/sn"}, "completed", 0},
        {WithWindows(2), {"/sn"}, "halted: Some GroupWise or Outlook processes cannot be stopped", 1},
        // Interactive: the window stays open on the halt, and closing it ends with 0.
        {WithWindows(2), {}, "halted: Some GroupWise or Outlook processes cannot be stopped", 0},
        {WithWindows(1), {"/sn"}, "completed", 0},
        {wrongType, {"/sn"}, "ended on an error: Invalid data type for ''.", 2},
        {{}, {"/bogus"}, "invalid command line", 3},
    };
    for (const auto& c : cases) {
        sim::SimMachine machine(c.machine);
        sim::RunPurgentOnSim(machine, c.args);
        const sim::RunOutcome outcome = sim::OutcomeOf(machine.Trace().Lines());
        EXPECT_EQ(outcome.outcome, c.outcome) << c.outcome;
        EXPECT_EQ(outcome.exitStatus, c.exitStatus) << c.outcome;
    }
}

image::MachineImage NamedBy(const std::string& key, std::uint32_t type, const std::string& data) {
    image::MachineImage machine;
    machine.registry.push_back({key, {{"ComputerName", type, image::Bytes(data.begin(), data.end())}}});
    return machine;
}

TEST(ReportMachineName, TheImagesComputerNameElseItsFolder) {
    const std::string key = sim::ComputerNameKey;
    const struct {
        image::MachineImage machine;
        std::optional<std::string> imageDir;
        std::string name;
    } cases[] = {
        {NamedBy(key, 1, std::string("WS-042\0", 7)), "images/ws", "WS-042"},
        {NamedBy("HKEY_LOCAL_MACHINE\\system\\currentcontrolset\\control\\computername\\computername", 2,
                 std::string("WS-043\0", 7)),
         "images/ws", "WS-043"},
        {NamedBy(key, 4, std::string("\x2a\0\0\0", 4)), "images/ws", "ws"},
        {NamedBy(key, 1, std::string("\0", 1)), "images/ws", "ws"},
        {NamedBy(key + "\\Other", 1, std::string("WS-044\0", 7)), "images/ws/", "ws"},
        {{}, "images/ws/.", "ws"},
        {{}, std::nullopt, "a bare NT workstation"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sim::MachineNameOf(c.machine, c.imageDir), c.name) << c.imageDir.value_or("") << " " << c.name;
}

TEST(ReportRefusedChanges, SayWhichChangeAndWhy) {
    const struct {
        std::string note;
        std::string change;
        std::string error;
    } cases[] = {
        {"# failed\tfile-delete\tC:\\Novell\\readme.txt\t5", "delete file C:\\Novell\\readme.txt", "5: access denied"},
        {"# failed\tfile-delete\tC:\\Novell\\held.dll\t32", "delete file C:\\Novell\\held.dll",
         "32: in use by another program"},
        {"# failed\tdir-remove\tC:\\Novell\t1314", "remove folder C:\\Novell", "1314"},
        {"# failed\treg-delete-key\tHKEY_LOCAL_MACHINE\\Software\\Novell\t5",
         "delete key HKEY_LOCAL_MACHINE\\Software\\Novell", "5: access denied"},
        {"# failed\treg-delete-value\tHKEY_CURRENT_USER\\Software\\X\tPath\t5",
         "delete value [Path] of HKEY_CURRENT_USER\\Software\\X", "5: access denied"},
        {"# failed\treg-set-value\tHKEY_LOCAL_MACHINE\\.vcf\t\t\t5", "set value [] of HKEY_LOCAL_MACHINE\\.vcf to ",
         "5: access denied"},
        {"# failed\tfile-attr\tC:\\Novell\\readme.txt\t0\t5", "set the attributes of C:\\Novell\\readme.txt to 0",
         "5: access denied"},
    };
    for (const auto& c : cases) {
        const RefusedChange refused = sim::RefusedChangeOf(c.note);
        EXPECT_EQ(refused.change, c.change) << c.note;
        EXPECT_EQ(refused.error, c.error) << c.note;
    }
}

TEST(ReportGrouping, WhatGoesByKindAndPlace) {
    demo::Report changes;
    changes.wentItems = {
        {demo::Kind::Key, "HKEY_LOCAL_MACHINE\\Software\\Novell"},
        {demo::Kind::Key, "HKEY_USERS\\.DEFAULT\\Software\\Novell"},
        {demo::Kind::Key, "HKEY_LOCAL_MACHINE\\Software\\Classes\\.gwf"},
        {demo::Kind::Value, "HKEY_CURRENT_USER\\Software\\X\tPath"},
        {demo::Kind::Value, "HKEY_CURRENT_USER\\Software\\X\t"},
        {demo::Kind::File, "C:\\Novell\\GroupWise\\grpwise.exe"},
        {demo::Kind::File, "C:\\NOVELL\\groupwise\\gwenv1.dll"},
        {demo::Kind::File, "C:\\boot.gw"},
        {demo::Kind::Folder, "C:\\Novell\\GroupWise"},
        {demo::Kind::HiveKey, "C:\\Documents and Settings\\ann\\ntuser.dat\tHKEY_CURRENT_USER\\Software\\Novell"},
    };
    FirstSpellings spellings;
    const std::vector<KindGroup> groups = GroupedByKindAndPlace(changes, spellings);
    std::ostringstream shown;
    for (const KindGroup& kind : groups) {
        shown << kind.label << " (" << kind.count << ")\n";
        for (const Place& place : kind.places) {
            shown << "  " << place.name << ":";
            for (const std::string& item : place.items) shown << " {" << item << "}";
            shown << "\n";
        }
    }
    EXPECT_EQ(shown.str(),
              "registry keys (3)\n"
              "  HKEY_LOCAL_MACHINE: {Software\\Novell} {Software\\Classes\\.gwf}\n"
              "  HKEY_USERS\\.DEFAULT: {Software\\Novell}\n"
              "registry values (2)\n"
              "  HKEY_CURRENT_USER: {Software\\X [Path]} {Software\\X [(default)]}\n"
              "files (3)\n"
              "  C:\\Novell\\GroupWise: {grpwise.exe} {gwenv1.dll}\n"
              "  C:\\: {boot.gw}\n"
              "folders (1)\n"
              "  C:\\Novell: {GroupWise}\n"
              "user hive keys (1)\n"
              "  C:\\Documents and Settings\\ann\\ntuser.dat: {Software\\Novell}\n");
}

// Each key and folder in the spelling first seen, however later paths spell
// it; a value's name is no key and keeps its own.
TEST(ReportSpellings, OneSpellingPerKeyTheFirstSeen) {
    const struct {
        Lines seen;
        std::string shownLast;
    } cases[] = {
        {{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes", "HKEY_LOCAL_MACHINE\\Software\\Novell"},
         "HKEY_LOCAL_MACHINE\\SOFTWARE\\Novell"},
        {{"HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise", "hkey_local_machine\\SOFTWARE\\NOVELL\\Messenger"},
         "HKEY_LOCAL_MACHINE\\Software\\Novell\\Messenger"},
        {{"C:\\Novell\\GroupWise", "C:\\NOVELL\\groupwise\\gwenv1.dll"}, "C:\\Novell\\GroupWise\\gwenv1.dll"},
        // Alike only as a leading part: "Novell" is not "Novell Messenger".
        {{"C:\\Novell", "C:\\NOVELL Messenger"}, "C:\\NOVELL Messenger"},
        {{"HKEY_CURRENT_USER\\Software", "HKEY_LOCAL_MACHINE\\SOFTWARE"}, "HKEY_LOCAL_MACHINE\\SOFTWARE"},
        {{"C:\\Novell\\", "c:\\novell\\x.dll"}, "C:\\Novell\\x.dll"},
    };
    for (const auto& c : cases) {
        FirstSpellings spellings;
        for (const std::string& path : c.seen) spellings.Of(path);
        EXPECT_EQ(spellings.Of(c.seen.back()), c.shownLast) << c.shownLast;
    }
    FirstSpellings spellings;
    spellings.Of("HKEY_CURRENT_USER\\Software\\X");
    EXPECT_EQ(spellings.Of(demo::Item{demo::Kind::Value, "HKEY_CURRENT_USER\\SOFTWARE\\x\tPATH\\a"}).id,
              "HKEY_CURRENT_USER\\Software\\X\tPATH\\a");
}

// A client key and a bystander's, a client file; the client's go.
struct Machines {
    image::MachineImage before;
    image::MachineImage after;
};
Machines ClientAndBystander() {
    Machines machines;
    const image::RegistryKey other{"HKEY_LOCAL_MACHINE\\Software\\Other", {{"x", 1, {'1', 0}}}};
    machines.before.registry = {{"HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise", {{"Path", 1, {'C', 0}}}}, other};
    machines.after.registry = {other};
    machines.before.drive = {{"C:\\Novell", true, {}}, {"C:\\Novell\\grpwise.exe", false, {'M', 'Z'}}};
    machines.after.drive = {{"C:\\Novell", true, {}}};
    return machines;
}

const Lines kTrace = {
    "kill\tgrpwise.exe\t0",  "kill\tnotify.exe\t603", "location\tGroupWiseDir\tC:\\Novell\\",
    "location\tUserDesktop\t", "profile\t1\t",        "profile\t2\tann & <bob>",
    "phase\tDone",           "exit\t0",
};

std::string PageHtml(const sim::ImageLists& lists, const Lines& failureNotes = {}, const Lines& keptNotes = {},
                     const Machines& machines = ClientAndBystander()) {
    std::ostringstream html;
    ReportPage page = sim::ReportPageOf("purgent.exe /sn on test", kTrace, failureNotes, keptNotes, machines.before,
                                        machines.after, lists);
    page.machine = "WS-042";
    page.made = "2026-12-10 08:30:00";
    page.version = "3.5.0.0";
    page.commandLine = "purgent-sim --machine test --report page.html -- /sn";
    WriteReportPage(page, html);
    return html.str();
}

std::string PageText(const sim::ImageLists& lists, const Lines& failureNotes = {}, const Lines& keptNotes = {},
                     const Machines& machines = ClientAndBystander()) {
    return VisibleText(PageHtml(lists, failureNotes, keptNotes, machines));
}

// Every count in a table's own column: as many headers as cells in each
// row, none of them empty.
TEST(ReportPageTables, HeadEveryColumn) {
    sim::ImageLists lists;
    lists.bystandersListed = true;
    const std::string html = PageHtml(lists, {"# failed\tfile-delete\tC:\\Novell\\held.dll\t32"},
                                      {"# kept\tHKEY_LOCAL_MACHINE\\Software\\Novell\tlinked"});
    const auto count = [](const std::string& text, const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    };
    std::size_t tables = 0;
    for (std::size_t start = html.find("<table>"); start != std::string::npos; start = html.find("<table>", start + 1)) {
        ++tables;
        const std::string table = html.substr(start, html.find("</table>", start) - start);
        std::istringstream rows(table);
        std::string head;
        std::getline(rows, head);
        const std::size_t columns = count(head, "<th>");
        EXPECT_GT(columns, 0u) << table;
        EXPECT_EQ(count(head, "<th></th>"), 0u) << head;
        for (std::string row; std::getline(rows, row);)
            EXPECT_EQ(count(row, "<td"), columns) << row << "\nin\n" << table;
    }
    EXPECT_EQ(tables, 5u);
}

// A key an image spells "SOFTWARE" in one place and "Software" in another
// is one key, named as the page first names it.
TEST(ReportPageText, NamesEachKeyInOneSpelling) {
    Machines machines;
    machines.before.registry = {{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.gwf", {}},
                                {"HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise", {}},
                                {"HKEY_LOCAL_MACHINE\\software\\Novell\\Messenger", {}}};
    machines.after.registry = {machines.before.registry.back()};
    sim::ImageLists lists;
    lists.bystandersListed = true;
    lists.keptReasons[{demo::Kind::Key, "HKEY_LOCAL_MACHINE\\software\\Novell\\Messenger"}] = "asked to keep";
    const std::string text = PageText(lists, {}, {}, machines);
    for (const std::string expected : {
             " HKEY_LOCAL_MACHINE (2) SOFTWARE\\Classes\\.gwf SOFTWARE\\Novell\\GroupWise ",
             " HKEY_LOCAL_MACHINE\\SOFTWARE\\Novell\\Messenger asked to keep ",
         })
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\nin\n" << text;
    EXPECT_EQ(text.find("oftware"), std::string::npos) << text;
}

TEST(ReportPageText, CountsPerKindAsTheDemoScreenShowsThem) {
    sim::ImageLists lists;
    lists.bystandersListed = true;
    lists.bystanders = {{demo::Kind::Key, "HKEY_LOCAL_MACHINE\\Software\\Other"},
                        {demo::Kind::Value, "HKEY_LOCAL_MACHINE\\Software\\Other\tx"}};
    const std::string text = PageText(lists);
    for (const std::string expected : {
             " kind went changed bystanders kept registry keys 1 0 1 of 1 registry values 1 0 1 of 1 files 1 0 0 of 0 "
             "folders 0 0 0 of 0 COM registrations 0 0 0 of 0 user hive keys 0 0 0 of 0 processes ended 1 - - ",
             " 2 of 2 listed bystanders kept unchanged. ",
             // The folder that stayed is a client item without a note.
             " C:\\Novell\\ (no note) ",
         })
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\nin\n" << text;
}

TEST(ReportPageText, ShowsTheVerdictWhatGoesStaysAndWasRead) {
    const std::string text =
        PageText({}, {"# failed\tfile-delete\tC:\\Novell\\held.dll\t32"},
                 {"# kept\tHKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise\tHKEY_LOCAL_MACHINE\\Software\\Novell on "
                  "the way is a link to HKEY_LOCAL_MACHINE\\Software\\Other"});
    for (const std::string expected : {
             " Purgent preview purgent.exe /sn on test Machine: WS-042 Made: 2026-12-10 08:30:00 Purgent version: "
             "3.5.0.0 Command line: purgent-sim --machine test --report page.html -- /sn Verdict: completed, exit "
             "status 0 ",
             // Why --summary's numbers differ: it counts changes, the page items.
             " These counts compare the image&#39;s items before and after the run: ",
             " purgent-sim --summary counts the run&#39;s changes instead, ",
             " registry keys 1 0 not listed ",
             " registry keys (1) HKEY_LOCAL_MACHINE (1) Software\\Novell\\GroupWise ",
             " files (1) C:\\Novell (1) grpwise.exe ",
             " processes ended (1) grpwise.exe ",
             " changes Windows refused (1) change Windows error delete file C:\\Novell\\held.dll 32: in use by another "
             "program ",
             " left alone on purpose (1) item why HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise "
             "HKEY_LOCAL_MACHINE\\Software\\Novell on the way is a link to HKEY_LOCAL_MACHINE\\Software\\Other ",
             " The image lists no bystanders (bystanders.txt), so none are checked. ",
             " locations (2) location value GroupWiseDir C:\\Novell\\ UserDesktop (not found) ",
             " profiles, in the order they are visited (2) (the current user) ann &amp; &lt;bob&gt; ",
         })
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\nin\n" << text;
}

}  // namespace
}  // namespace purgent::report
