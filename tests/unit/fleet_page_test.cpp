// purgent-fleet's HTML page: nothing from a log becomes markup, the page
// fetches nothing, the machines needing attention come first, and each
// machine's drill-down holds what failed, what was kept, what waits for a
// restart and every run of its log.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>

#include "fleet/fleet_page.h"
#include "fleet/log_reader.h"

namespace purgent::fleet {
namespace {

std::string Page(const std::vector<LogRecord>& logs) {
    std::ostringstream out;
    WritePage(out, logs);
    return out.str();
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

LogRecord Log(const std::string& computer, const std::string& body, const std::string& path = "x.log") {
    return ReadRunLog("# Purgent 3.5.0.0 run log\n# computer: " + computer + "\n" + body, path);
}

TEST(FleetPage, TextFromTheLogsIsEscapedEverywhere) {
    const std::string page = Page({
        Log("<script>alert(1)</script>", "# failed\tfile-delete\tC:\\<b>&amp;\t5\n"
                                         "# kept\tC:\\\"x\"\t'why' <i>\nerror\t<img src=x onerror=alert(2)>\nexit\t2\n",
            "<u>.log"),
        ReadRunLog("<html>", "<em>.log"),
    });
    EXPECT_EQ(Occurrences(page, "<script"), 1u) << "the sort script only";
    for (const char* raw : {"<b>", "<i>", "<img", "<u>", "<em>", "<html>"})
        EXPECT_EQ(page.find(raw), std::string::npos) << raw;
    for (const char* escaped : {"&lt;script&gt;alert(1)&lt;/script&gt;", "C:\\&lt;b&gt;&amp;amp;", "&quot;x&quot;",
                                "&#39;why&#39; &lt;i&gt;", "&lt;img src=x onerror=alert(2)&gt;", "&lt;u&gt;.log",
                                "&lt;em&gt;.log: not a run log"})
        EXPECT_NE(page.find(escaped), std::string::npos) << escaped;
}

TEST(FleetPage, IsOnePageThatFetchesNothing) {
    const std::string page = Page({Log("PC1", "exit\t0\n")});
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    for (const char* fetch : {"http:", "https:", "src=", "<link", "@import", "url("})
        EXPECT_EQ(page.find(fetch), std::string::npos) << fetch;
}

// The outcome cells in the order the page lists the machines.
std::vector<std::string> OutcomeOrder(const std::string& page) {
    std::vector<std::string> order;
    const std::regex cell("<tbody class=\"machine (attention|clean)\">\n<tr><td class=\"computer\">([^<]*)</td>"
                          "<td class=\"outcome [a-z]+\" data-sort=\"[0-9]\">([^<]*)</td>");
    for (std::sregex_iterator match(page.begin(), page.end(), cell), end; match != end; ++match)
        order.push_back((*match)[2].str() + " " + (*match)[3].str() + " (" + (*match)[1].str() + ")");
    return order;
}

TEST(FleetPage, TheMachinesThatNeedAttentionComeFirst) {
    const std::string page = Page({
        Log("CLEAN", "exit\t0\n"),
        Log("FAILED", "# failed\tfile-delete\tC:\\a\t5\nexit\t0\n"),
        Log("INVALID", "exit\t3\n"),
        Log("HALTED", "exit\t1\n"),
        Log("ERROR", "exit\t2\n"),
        Log("CUT", "file-delete\tC:\\a\n"),
        Log("PENDING", "exit\t3010\n"),
    });
    EXPECT_EQ(OutcomeOrder(page),
              (std::vector<std::string>{"CUT interrupted (attention)", "ERROR error (attention)",
                                        "HALTED halted (attention)", "INVALID invalid command line (attention)",
                                        "FAILED completed (attention)", "PENDING completed (clean)",
                                        "CLEAN completed (clean)"}));
    EXPECT_EQ(Occurrences(page, "<details>"), 7u) << "one drill-down per machine";
    EXPECT_NE(page.find("5 of 7 machines need attention"), std::string::npos);
}

TEST(FleetPage, TheDrillDownTellsWhatFailedWhatWasKeptWhatWaitsAndEachRun) {
    const std::string page = Page({ReadRunLog(
        "# Purgent 3.4.0.0 run log\n# local time: 2026-01-30 09:00:00\n# computer: PC7\nexit\t1\n"
        "# Purgent 3.5.0.0 run log\n# local time: 2026-01-31 14:05:09\n# computer: PC7\n"
        "# windows: 10.0 build 19045, 64-bit\n"
        "# failed\treg-delete-value\tHKEY_CURRENT_USER\\Software\\x\tRequestMakeCall\t5\n"
        "# kept\tC:\\Program Files\\Common Files\\GWCheck\tnot the client's own folder\n"
        "# restart-pending\tC:\\Novell\\GroupWise\\gwenv1.dll\n# ignored\t/KR\nexit\t3010\n",
        "pc7.log")});
    for (const char* shown : {
             "<td>reg-delete-value</td><td>HKEY_CURRENT_USER\\Software\\x\tRequestMakeCall</td><td>5</td>",
             "<td>C:\\Program Files\\Common Files\\GWCheck</td><td>not the client&#39;s own folder</td>",
             "<li>C:\\Novell\\GroupWise\\gwenv1.dll</li>",
             "<td class=\"restart\">restart pending</td>",
             "<tr><td>windows</td><td>10.0 build 19045, 64-bit</td></tr>",
             "<li># ignored\t/KR</li>",
             "<tr><td>1</td><td>2026-01-30 09:00:00</td><td>3.4.0.0</td><td>halted</td><td>1</td>",
             "<tr><td>2</td><td>2026-01-31 14:05:09</td><td>3.5.0.0</td><td>completed</td><td>3010</td>",
             "PC7: what failed (1), what was kept (1), runs in the log (2)",
         })
        EXPECT_NE(page.find(shown), std::string::npos) << shown;
}

}  // namespace
}  // namespace purgent::fleet
