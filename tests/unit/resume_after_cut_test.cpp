// A run killed right after any one of its changes, then a default run: the
// machine ends as one default run leaves it. Every change of every option set
// that keeps something, on the demo, every image under tests/data and a few
// random workstations. A difference is allowed only where a rule below names
// it as one by design, and each rule is needed somewhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>

#include "image/ansi_text.h"
#include "param_name.h"
#include "platform/record/event_recorder.h"
#include "platform/sim/sim_programs.h"
#include "purgent_sim/run_purgent.h"
#include "random_workstation.h"

namespace purgent::testing {
namespace {

using Facts = std::set<std::string>;
using Lines = std::vector<std::string>;

std::string Folded(std::string text) {
    for (char& c : text) c = image::FoldCase(c);
    return text;
}

std::string Hex(const image::Bytes& data) {
    std::string text;
    for (std::uint8_t byte : data) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", byte);
        text += digits;
    }
    return text;
}

// Windows always has the view of HKEY_CLASSES_ROOT; the simulator makes it
// when a run first reads it, so an image may lack it before and not after.
bool IsClassesView(const image::RegistryKey& key) {
    return key.values.empty() && Folded(key.path) == "HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES";
}

void AddRegistry(Facts& facts, const std::string& where, const image::RegistryKeys& keys) {
    for (const image::RegistryKey& key : image::NetRegistry(keys)) {
        if (IsClassesView(key)) continue;
        facts.insert(where + "key\t" + Folded(key.path));
        for (const image::RegistryValue& value : key.values)
            facts.insert(where + "value\t" + Folded(key.path) + "\t" + Folded(value.name) + "\t" +
                         std::to_string(value.type) + "\t" + Hex(value.data));
    }
}

// Everything a machine image says, one line each: keys and values (a user's
// hive file by its keys), files with their contents, folders, machine.ini.
Facts FactsOf(const image::MachineImage& machine) {
    Facts facts;
    AddRegistry(facts, "", machine.registry);
    for (const image::DriveItem& item : machine.drive) {
        const std::string path = Folded(item.path);
        if (item.folder)
            facts.insert("folder\t" + path);
        else if (image::IsHiveFile(item))
            AddRegistry(facts, "hive " + path + "\t", image::ParseHiveText(item.contents, item.path));
        else
            facts.insert("file\t" + path + "\t" + Hex(item.contents));
    }
    for (const std::string& line : image::SplitLines(image::WriteMachineIni(machine.machine)))
        facts.insert("ini\t" + line);
    return facts;
}

// Everything of an image the simulator saves, as one text: a machine saved
// twice gives the same text. Option sets share their first changes, and a
// process ended or a hive loaded changes nothing an image holds, so many a
// state is cleaned alike: each is cleaned once.
std::string Canonical(const image::MachineImage& machine) {
    std::string text = image::WriteRegText(machine.registry) + image::WriteMachineIni(machine.machine);
    for (const image::DriveItem& item : machine.drive) {
        text += item.path + (item.folder ? "\n" : "\t");
        text.append(item.contents.begin(), item.contents.end());
    }
    return text;
}

struct Ran {
    image::MachineImage after;
    Lines trace;
};

Ran RunOn(const image::MachineImage& before, const std::vector<std::string>& args, std::size_t cutAfter = 0) {
    sim::SimMachine machine(before);
    if (cutAfter) machine.CutAfter(cutAfter);
    const int status = sim::RunPurgentOnSim(machine, args);
    if (cutAfter) {
        EXPECT_EQ(status, sim::ExitKilled) << "cut after " << cutAfter;
    }
    return {machine.SaveImage(), machine.Trace().Lines()};
}

std::size_t Changes(const Lines& trace) { return std::count_if(trace.begin(), trace.end(), IsChangeEvent); }

// ------------------------------------------------------ differences by design

// What a difference is judged by: the line only the cut-and-rerun machine
// holds, the run that was cut, its options.
struct Cut {
    const image::MachineImage& before;
    const std::string& options;
    const Lines& trace;

    std::string LastChange() const {
        const auto last = std::find_if(trace.rbegin(), trace.rend(), IsChangeEvent);
        return last == trace.rend() ? "" : *last;
    }
};

bool Under(const std::string& path, const std::string& top) {
    return path.compare(0, top.size(), top) == 0 && (path.size() == top.size() || path[top.size()] == '\\');
}

// The key path of a registry fact, "" for any other.
std::string KeyOf(const std::string& fact) {
    const std::size_t kind = fact.find("key\t") == std::string::npos ? fact.find("value\t") : fact.find("key\t");
    if (kind == std::string::npos) return "";
    const std::size_t start = fact.find('\t', kind) + 1;
    return fact.substr(start, fact.find('\t', start) - start);
}

const std::string kMsxml =
    R"(Microsoft.MSXML2,publicKeyToken="6bd6b9abf345378f",version="4.1.0.0",type="win32",processorArchitecture="x86")";

struct ByDesign {
    const char* what;
    std::function<bool(const std::string& fact, const Cut& cut)> covers;
};

const std::vector<ByDesign>& RulesByDesign() {
    static const std::vector<ByDesign> rules = {
        // Files go in their own phase, deregistration only with the registry:
        // the next run finds no DLL to unregister.
        {"a run with /kr deletes DLL files without unregistering them: the registrations stay",
         [](const std::string& fact, const Cut& cut) {
             if (cut.options != "/kr") return false;
             for (const image::DllEntry& dll : cut.before.machine.dlls) {
                 const std::string deletion = Folded("file-delete\t" + dll.path);
                 const bool deleted = std::any_of(cut.trace.begin(), cut.trace.end(),
                                                  [&](const std::string& line) { return Folded(line) == deletion; });
                 for (const std::string& key : dll.unregisters)
                     if (deleted && Under(KeyOf(fact), Folded(key))) return true;
             }
             return false;
         }},
        // The resource assembly's value goes only beside the parser's, which
        // the cut run deleted last.
        {"the MSXML2R assembly value goes only with the MSXML2 value, and the cut came between them",
         [](const std::string& fact, const Cut& cut) {
             const std::string last = cut.LastChange();
             const bool resourceValue = fact.find("value\t") != std::string::npos &&
                                        fact.find(Folded("\tMicrosoft.MSXML2R,")) != std::string::npos;
             return resourceValue && last.size() > kMsxml.size() &&
                    last.compare(last.size() - kMsxml.size(), kMsxml.size(), kMsxml) == 0;
         }},
        // A shared component goes only when the client's value was in it and
        // nothing else is: the cut run took the value last.
        {"an installer component goes only with the client's value in it, and the cut came between them",
         [](const std::string& fact, const Cut& cut) {
             const std::string last = cut.LastChange();
             return fact.rfind("key\t", 0) == 0 && fact.find("\\COMPONENTS\\") != std::string::npos &&
                    Folded(last).rfind("REG-DELETE-VALUE\t" + KeyOf(fact) + "\t", 0) == 0;
         }},
    };
    return rules;
}

// ------------------------------------------------------------- workstations

struct Workstation {
    const char* what;
    std::function<image::MachineImage()> image;
    bool needsEveryRule = false;  // each rule by design covers a difference here
};

image::MachineImage TestImage(const std::string& name) {
    return image::LoadMachineImage(std::string(PURGENT_TEST_DATA) + "/" + name);
}

const std::vector<Workstation>& Workstations() {
    static const std::vector<Workstation> all = {
        {"demo", [] { return image::LoadMachineImage(PURGENT_DEMO_IMAGE); }, true},
        {"bad_hive_value", [] { return TestImage("bad-hive-value"); }},
        {"com_servers", [] { return TestImage("com-servers"); }},
        {"files", [] { return TestImage("files"); }},
        {"files_in_windows", [] { return TestImage("files-in-windows"); }},
        {"localised_roots", [] { return TestImage("localised-roots"); }},
        {"long_names", [] { return TestImage("long-names"); }},
        {"machinewide", [] { return TestImage("machinewide"); }},
        {"messenger", [] { return TestImage("messenger"); }},
        {"moved_client", [] { return TestImage("moved-client"); }},
        {"other_users", [] { return TestImage("other-users"); }},
        {"users", [] { return TestImage("users"); }},
        {"vista_users", [] { return TestImage("vista-users"); }},
        {"win10_system", [] { return TestImage("win10-system"); }},
        // Small ones whose default run completes: where it stops on an
        // error, a run with /kr goes on past the step that stops it.
        {"seed_88", [] { return generator::RandomWorkstation(88).image; }},
        {"seed_18", [] { return generator::RandomWorkstation(18).image; }},
        {"seed_34", [] { return generator::RandomWorkstation(34).image; }},
    };
    return all;
}

// The default options, and each that keeps something.
const char* const kOptionSets[] = {"", "/kf", "/kr", "/kc", "/km", "/kwt"};

std::vector<std::string> Arguments(const std::string& options) {
    return options.empty() ? std::vector<std::string>{"/sn"} : std::vector<std::string>{"/sn", options};
}

class ResumeAfterCut : public ::testing::TestWithParam<Workstation> {};

TEST_P(ResumeAfterCut, ACutAnywhereThenADefaultRunLeavesWhatOneDefaultRunLeaves) {
    const image::MachineImage before = GetParam().image();
    const image::MachineImage reference = RunOn(before, Arguments("")).after;
    const std::string referenceText = Canonical(reference);
    const Facts expected = FactsOf(reference);
    std::set<std::string> rulesUsed;
    std::set<std::size_t> cleanedAlike;
    for (const std::string options : kOptionSets) {
        const std::size_t changes = Changes(RunOn(before, Arguments(options)).trace);
        for (std::size_t n = 1; n <= changes; ++n) {
            const Ran cut = RunOn(before, Arguments(options), n);
            const std::size_t state = std::hash<std::string>{}(Canonical(cut.after));
            if (cleanedAlike.count(state)) continue;
            const image::MachineImage again = RunOn(cut.after, Arguments("")).after;
            if (Canonical(again) == referenceText) {
                cleanedAlike.insert(state);
                continue;
            }
            const Facts after = FactsOf(again);
            Lines unexplained;
            std::set_symmetric_difference(expected.begin(), expected.end(), after.begin(), after.end(),
                                          std::back_inserter(unexplained));
            std::erase_if(unexplained, [&](const std::string& fact) {
                if (expected.count(fact)) return false;  // lost: never by design
                for (const ByDesign& rule : RulesByDesign()) {
                    if (!rule.covers(fact, Cut{before, options, cut.trace})) continue;
                    rulesUsed.insert(rule.what);
                    return true;
                }
                return false;
            });
            ASSERT_TRUE(unexplained.empty()) << "options \"" << options << "\", cut after change " << n << " of "
                                             << changes << " (" << cut.trace.back() << "): "
                                             << (expected.count(unexplained[0]) ? "missing " : "left ")
                                             << unexplained[0] << " and " << unexplained.size() - 1 << " more";
        }
    }
    if (!GetParam().needsEveryRule) return;
    for (const ByDesign& rule : RulesByDesign()) EXPECT_TRUE(rulesUsed.count(rule.what)) << "not needed: " << rule.what;
}

INSTANTIATE_TEST_SUITE_P(Workstations, ResumeAfterCut, ::testing::ValuesIn(Workstations()),
                         CaseName<Workstation>);

}  // namespace
}  // namespace purgent::testing
