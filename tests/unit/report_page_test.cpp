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
    const std::vector<KindGroup> groups = GroupedByKindAndPlace(changes);
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

std::string PageText(const sim::ImageLists& lists, const Lines& failureNotes = {}, const Lines& keptNotes = {}) {
    const Machines machines = ClientAndBystander();
    std::ostringstream html;
    WriteReportPage(sim::ReportPageOf("purgent.exe /sn on test", kTrace, failureNotes, keptNotes, machines.before,
                                      machines.after, lists),
                    html);
    return VisibleText(html.str());
}

TEST(ReportPageText, CountsPerKindAsTheDemoScreenShowsThem) {
    sim::ImageLists lists;
    lists.bystandersListed = true;
    lists.bystanders = {{demo::Kind::Key, "HKEY_LOCAL_MACHINE\\Software\\Other"},
                        {demo::Kind::Value, "HKEY_LOCAL_MACHINE\\Software\\Other\tx"}};
    const std::string text = PageText(lists);
    for (const std::string expected : {
             " went changed bystanders kept registry keys 1 0 1 of 1 registry values 1 0 1 of 1 files 1 0 0 of 0 "
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
             " Purgent preview purgent.exe /sn on test Verdict: completed, exit status 0 ",
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
