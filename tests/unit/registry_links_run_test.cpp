// Whole runs on workstations with link keys (REG_LINK) in and on the way to
// the client's keys: a deletion never follows a link, and nothing the links
// lead to goes.
#include <gtest/gtest.h>

#include <algorithm>

#include "param_name.h"
#include "purgent_sim/run_purgent.h"
#include "registry_test_machine.h"
#include "shutdown_sim_machine.h"

namespace purgent::testing {
namespace {

const std::string Bystander = R"(HKEY_LOCAL_MACHINE\Software\Bystander)";
const std::string AnnsHive = R"(C:\Documents and Settings\ann\ntuser.dat)";

// Another program's key with a subkey and a value, and ann, a user whose
// hive the run mounts.
const std::string Machine =
    "[HKEY_LOCAL_MACHINE\\Software\\Bystander\\Settings\\Deep]\n"
    "\"Owner\"=\"bystander\"\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-1-1001]\n"
    "\"ProfileImagePath\"=\"C:\\\\Documents and Settings\\\\ann\"\n";

struct LinkCase {
    const char* what;
    std::string reg;                          // besides Machine
    std::string annHive;                      // ann's HKEY_CURRENT_USER keys
    std::vector<image::RegistryLink> links;
};

void PrintTo(const LinkCase& c, std::ostream* out) { *out << c.what; }

image::MachineImage ImageWith(const LinkCase& c) {
    image::MachineImage image =
        ImageOf(Machine + c.reg, {HiveFile("ann", c.annHive.empty() ? "[HKEY_CURRENT_USER\\Software]\n" : c.annHive)});
    image.machine.registryLinks = c.links;
    return image;
}

// The bystander's keys and value as the image had them.
void ExpectBystanderIntact(const image::MachineImage& saved) {
    for (const std::string& key : {Bystander, Bystander + "\\Settings", Bystander + "\\Settings\\Deep"})
        EXPECT_NE(image::FindKey(saved.registry, key), nullptr) << key;
    EXPECT_EQ(RegistryTestMachine::StringIn(saved.registry, Bystander + "\\Settings\\Deep", "Owner"), "bystander");
}

image::RegistryLink Link(const std::string& key, const std::string& target, const std::string& hive = "") {
    return {key, target, hive};
}

bool HasLink(const image::MachineImage& saved, const image::RegistryLink& link) {
    return std::any_of(saved.machine.registryLinks.begin(), saved.machine.registryLinks.end(),
                       [&](const image::RegistryLink& kept) {
                           return image::EqualsIgnoreCase(kept.key, link.key) &&
                                  image::EqualsIgnoreCase(kept.hive, link.hive);
                       });
}

class LinkInTheClientsKeys : public ::testing::TestWithParam<LinkCase> {};

// A link key at or below a key the catalogue deletes goes as a link: what it
// leads to, and what lies below that, stays.
TEST_P(LinkInTheClientsKeys, TheLinkGoesItsTargetAndItsSubkeysStay) {
    const LinkCase& c = GetParam();
    sim::SimMachine machine(ImageWith(c));
    EXPECT_EQ(sim::RunPurgentOnSim(machine, {"/sn"}), 0);
    const image::MachineImage saved = machine.SaveImage();
    ExpectBystanderIntact(saved);
    const std::vector<std::string> deleted = test::TraceOf(machine, "reg-delete-key");
    for (const image::RegistryLink& link : c.links) {
        EXPECT_FALSE(HasLink(saved, link)) << link.key;
        if (link.hive.empty()) {
            EXPECT_NE(std::find(deleted.begin(), deleted.end(), link.key), deleted.end()) << link.key;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkInTheClientsKeys,
    ::testing::Values(
        LinkCase{"machine key to another program's key", "[HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise]\n", "",
                 {Link(R"(HKEY_LOCAL_MACHINE\Software\Novell\GroupWise\Link)", Bystander + "\\Settings")}},
        LinkCase{"deep below the client's key", "[HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise 5.5\\A\\B]\n", "",
                 {Link(R"(HKEY_LOCAL_MACHINE\Software\Novell\GroupWise 5.5\A\B\Link)", Bystander)}},
        LinkCase{"the catalogue's key itself", "[HKEY_CURRENT_USER\\Software\\Novell]\n", "",
                 {Link(R"(HKEY_CURRENT_USER\Software\Novell\Spell Checker)", Bystander)}},
        LinkCase{"the current user's key to a machine key", "[HKEY_CURRENT_USER\\Software\\Novell\\GroupWise]\n", "",
                 {Link(R"(HKEY_CURRENT_USER\Software\Novell\GroupWise\Machine)", Bystander + "\\Settings")}},
        LinkCase{"another user's hive to a machine key", "", "[HKEY_CURRENT_USER\\Software\\Novell\\GroupWise]\n",
                 {Link(R"(HKEY_CURRENT_USER\Software\Novell\GroupWise\Machine)", Bystander, AnnsHive)}},
        LinkCase{"a MAPI profile's subkey",
                 "[HKEY_CURRENT_USER\\Software\\MicroSoft\\Windows Messaging SubSystem\\Profiles\\"
                 "Novell Default Settings\\Own]\n",
                 "",
                 {Link(R"(HKEY_CURRENT_USER\Software\MicroSoft\Windows Messaging SubSystem\Profiles\)"
                       R"(Novell Default Settings\Link)",
                       Bystander + "\\Settings")}}),
    CaseName<LinkCase>);

class LoopOfLinks : public ::testing::TestWithParam<LinkCase> {};

// A link that leads back into the tree being deleted, or to itself, ends
// nothing: the run completes, and only the client's keys and the links go.
TEST_P(LoopOfLinks, TheRunEndsWithItsExitAndOnlyTheClientsKeysGo) {
    const LinkCase& c = GetParam();
    sim::SimMachine machine(ImageWith(c));
    EXPECT_EQ(sim::RunPurgentOnSim(machine, {"/sn"}), 0);
    EXPECT_EQ(machine.Trace().Lines().back(), "exit\t0");
    const image::MachineImage saved = machine.SaveImage();
    ExpectBystanderIntact(saved);
    for (const image::RegistryLink& link : c.links) EXPECT_FALSE(HasLink(saved, link)) << link.key;
    for (const std::string& key : test::TraceOf(machine, "reg-delete-key"))
        EXPECT_EQ(key.find("Bystander"), std::string::npos) << key;
}

const std::string GroupWise = R"(HKEY_LOCAL_MACHINE\Software\Novell\GroupWise)";
const std::string SpellChecker = R"(HKEY_CURRENT_USER\Software\Novell\Spell Checker)";

INSTANTIATE_TEST_SUITE_P(
    Cases, LoopOfLinks,
    ::testing::Values(
        LinkCase{"a link to its own parent", "[HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise]\n", "",
                 {Link(GroupWise + "\\Loop", GroupWise)}},
        LinkCase{"a link to itself", "[HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise]\n", "",
                 {Link(GroupWise + "\\Self", GroupWise + "\\Self")}},
        LinkCase{"two links to each other", "[HKEY_LOCAL_MACHINE\\Software\\Novell\\GroupWise]\n", "",
                 {Link(GroupWise + "\\A", GroupWise + "\\B"), Link(GroupWise + "\\B", GroupWise + "\\A")}},
        LinkCase{"a user's own link to its parent", "[HKEY_CURRENT_USER\\Software\\Novell\\Spell Checker]\n", "",
                 {Link(SpellChecker + "\\Loop", SpellChecker)}},
        LinkCase{"in another user's hive, to its parent there", "",
                 "[HKEY_CURRENT_USER\\Software\\Novell\\Spell Checker]\n",
                 {Link(SpellChecker + "\\Loop", R"(HKEY_USERS\Purgent.UserHive\Software\Novell\Spell Checker)",
                       AnnsHive)}}),
    CaseName<LinkCase>);

struct ThroughCase {
    const char* what;
    std::string reg;
    std::string annHive;
    image::RegistryLink link;
    std::string kept;       // the key the catalogue names, noted as kept
    std::string targetKey;  // what it leads to: stays with its value
};

void PrintTo(const ThroughCase& c, std::ostream* out) { *out << c.what; }

class CataloguePathThroughALink : public ::testing::TestWithParam<ThroughCase> {};

// A key the catalogue names through a link on the way (or, to be read or
// changed, through a link as its last name) is left alone and noted.
TEST_P(CataloguePathThroughALink, IsKeptWithANoteAndTheKeyItLeadsToStays) {
    const ThroughCase& c = GetParam();
    sim::SimMachine machine(ImageWith({c.what, c.reg, c.annHive, {c.link}}));
    EXPECT_EQ(sim::RunPurgentOnSim(machine, {"/sn"}), 0);
    const image::MachineImage saved = machine.SaveImage();
    const image::RegistryKeys seeded = image::NetRegistry(RegText(c.reg));
    const image::RegistryKey* before = image::FindKey(seeded, c.targetKey);
    const image::RegistryKey* after = image::FindKey(saved.registry, c.targetKey);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->values.size(), before->values.size());
    EXPECT_EQ(RegistryTestMachine::StringIn(saved.registry, c.targetKey, "Owner"), "bystander");
    EXPECT_TRUE(HasLink(saved, c.link));
    const std::vector<std::string>& notes = machine.Trace().KeptNotes();
    EXPECT_NE(std::find_if(notes.begin(), notes.end(),
                           [&](const std::string& note) { return note.rfind("# kept\t" + c.kept + "\t", 0) == 0; }),
              notes.end())
        << c.kept;
}

const std::string Other = R"(HKEY_LOCAL_MACHINE\Software\Other)";

INSTANTIATE_TEST_SUITE_P(
    Cases, CataloguePathThroughALink,
    ::testing::Values(
        ThroughCase{"the machine's Novell key", "[HKEY_LOCAL_MACHINE\\Software\\Other\\GroupWise]\n\"Owner\"=\"bystander\"\n", "",
                    Link(R"(HKEY_LOCAL_MACHINE\Software\Novell)", Other), GroupWise, Other + "\\GroupWise"},
        ThroughCase{"the current user's Novell key to the machine's",
                    "[HKEY_LOCAL_MACHINE\\Software\\Other\\Spell Checker]\n\"Owner\"=\"bystander\"\n", "",
                    Link(R"(HKEY_CURRENT_USER\Software\Novell)", Other), SpellChecker, Other + "\\Spell Checker"},
        ThroughCase{"another user's Novell key to the machine's",
                    "[HKEY_LOCAL_MACHINE\\Software\\Other\\GroupWise]\n\"Owner\"=\"bystander\"\n", "",
                    Link(R"(HKEY_CURRENT_USER\Software\Novell)", Other, AnnsHive),
                    R"(HKEY_USERS\Purgent.UserHive\Software\Novell\GroupWise)", Other + "\\GroupWise"},
        ThroughCase{"a key whose value the catalogue deletes",
                    "[HKEY_LOCAL_MACHINE\\Software\\Other\\Run]\n\"Owner\"=\"bystander\"\n"
                    "\"Novell Messenger\"=\"another messenger\"\n"
                    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion]\n",
                    "", Link(R"(HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run)", Other + "\\Run"),
                    R"(HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run)", Other + "\\Run"}),
    CaseName<ThroughCase>);

}  // namespace
}  // namespace purgent::testing
