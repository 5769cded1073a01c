// The simulated registry's link keys ([registry-link]) behave as Windows'
// (REG_LINK): every open through one leads to its target, opened as a link it
// is the link itself, and a loop ends the open.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "registry_test_machine.h"

namespace purgent::testing {
namespace {

const std::string Client = R"(HKEY_LOCAL_MACHINE\Software\Client\)";
const std::string Target = R"(HKEY_LOCAL_MACHINE\Software\Target)";

image::RegistryLink Link(const std::string& key, const std::string& target, const std::string& hive = "") {
    return {key, target, hive};
}

// Target with a subkey and a value; Client holds the links.
image::MachineImage LinkedImage(const std::vector<image::DriveItems>& hives = {}) {
    image::MachineImage image = ImageOf(
        "[HKEY_LOCAL_MACHINE\\Software\\Target\\Sub]\n\"Owner\"=\"target\"\n[HKEY_LOCAL_MACHINE\\Software\\Client]\n",
        hives);
    image.machine.registryLinks = {
        Link(Client + "Link", Target),
        Link(Client + "Leaf", Target + "\\Sub"),
        Link(Client + "Dangling", R"(HKEY_LOCAL_MACHINE\Software\Nowhere)"),
        Link(Client + "Self", Client + "Self"),
        Link(Client + "A", Client + "B"),
        Link(Client + "B", Client + "A"),
    };
    // Chain0 leads to Target, each further one to the one before.
    for (int i = 0; i <= 32; ++i)
        image.machine.registryLinks.push_back(
            Link(Client + "Chain" + std::to_string(i), i == 0 ? Target : Client + "Chain" + std::to_string(i - 1)));
    return image;
}

RegistryService& RegistryOf(RegistryTestMachine& machine) { return machine.machine.GetPlatform().registry; }

struct OpenCase {
    const char* what;
    std::string path;  // below HKEY_LOCAL_MACHINE
    long result;
    std::string opened;  // the key's full path when it opens
};

TEST(SimRegistryLinks, AnOpenThroughALinkLeadsToItsTargetAndALoopEndsIt) {
    const OpenCase cases[] = {
        {"a link on the way", R"(Software\Client\Link\Sub)", winerr::Success, Target + "\\Sub"},
        {"a link as the last name", R"(Software\Client\Link)", winerr::Success, Target},
        {"any letter case", R"(software\client\LINK\sub)", winerr::Success, Target + "\\Sub"},
        {"a target that is not there", R"(Software\Client\Dangling)", winerr::FileNotFound, ""},
        {"a link to itself", R"(Software\Client\Self)", winerr::InvalidParameter, ""},
        {"two links to each other", R"(Software\Client\A\Sub)", winerr::InvalidParameter, ""},
        {"32 links in a row", R"(Software\Client\Chain31\Sub)", winerr::Success, Target + "\\Sub"},
        {"33 links in a row", R"(Software\Client\Chain32)", winerr::InvalidParameter, ""},
    };
    RegistryTestMachine machine(LinkedImage());
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.what);
        RegKey key = 0;
        EXPECT_EQ(RegistryOf(machine).OpenKey(HkeyLocalMachine, c.path, key), c.result);
        if (c.result != winerr::Success) continue;
        EXPECT_EQ(RegistryOf(machine).KeyPath(key, ""), c.opened);
        RegistryOf(machine).CloseKey(key);
    }
}

struct CheckCase {
    const char* what;
    std::string path;
    LinkCheck check;
    std::string target;
};

TEST(SimRegistryLinks, OpenedAsALinkTheKeyIsTheLinkItself) {
    const CheckCase cases[] = {
        {"a link", R"(Software\Client\Link)", LinkCheck::Link, Target},
        {"a link to itself", R"(Software\Client\Self)", LinkCheck::Link, Client + "Self"},
        {"a link whose target is not there", R"(Software\Client\Dangling)", LinkCheck::Link,
         R"(HKEY_LOCAL_MACHINE\Software\Nowhere)"},
        {"a key reached through a link", R"(Software\Client\Link\Sub)", LinkCheck::NotALink, ""},
        {"a plain key", R"(Software\Target)", LinkCheck::NotALink, ""},
        {"a key that is not there", R"(Software\Client\Missing)", LinkCheck::NoSuchKey, ""},
        {"through a link that leads nowhere", R"(Software\Client\Dangling\Sub)", LinkCheck::NoSuchKey, ""},
    };
    RegistryTestMachine machine(LinkedImage());
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.what);
        RegLink link;
        EXPECT_EQ(RegistryOf(machine).CheckLink(HkeyLocalMachine, c.path, link), c.check);
        if (c.check != LinkCheck::Link) continue;
        EXPECT_EQ(link.path, "HKEY_LOCAL_MACHINE\\" + c.path);
        EXPECT_EQ(link.target, c.target);
    }
}

struct DeleteCase {
    const char* what;
    bool asLink;  // DeleteLink, else DeleteKey (RegDeleteKeyA)
    std::string path;
    long result;
    std::vector<std::string> gone;
    std::vector<std::string> kept;
};

TEST(SimRegistryLinks, RegDeleteKeyFollowsALinkDeletingItAsALinkDoesNot) {
    const DeleteCase cases[] = {
        {"a link to a key without subkeys", false, R"(Software\Client\Leaf)", winerr::Success, {Target + "\\Sub"},
         {Client + "Leaf", Target}},
        {"a link to a key with subkeys", false, R"(Software\Client\Link)", winerr::AccessDenied, {},
         {Client + "Link", Target + "\\Sub"}},
        {"as a link", true, R"(Software\Client\Link)", winerr::Success, {Client + "Link"}, {Target + "\\Sub"}},
        {"as a link, one to itself", true, R"(Software\Client\Self)", winerr::Success, {Client + "Self"}, {}},
        {"a plain key as a link", true, R"(Software\Target\Sub)", winerr::InvalidParameter, {}, {Target + "\\Sub"}},
    };
    for (const DeleteCase& c : cases) {
        SCOPED_TRACE(c.what);
        RegistryTestMachine machine(LinkedImage());
        RegistryService& registry = RegistryOf(machine);
        EXPECT_EQ(c.asLink ? registry.DeleteLink(HkeyLocalMachine, c.path) : registry.DeleteKey(HkeyLocalMachine, c.path),
                  c.result);
        const image::MachineImage saved = machine.machine.SaveImage();
        const auto present = [&saved](const std::string& key) {
            return image::FindKey(saved.registry, key) != nullptr ||
                   std::any_of(saved.machine.registryLinks.begin(), saved.machine.registryLinks.end(),
                               [&](const image::RegistryLink& link) { return image::EqualsIgnoreCase(link.key, key); });
        };
        for (const std::string& key : c.gone) EXPECT_FALSE(present(key)) << key;
        for (const std::string& key : c.kept) EXPECT_TRUE(present(key)) << key;
    }
}

const std::string AnnsHive = R"(C:\Documents and Settings\ann\ntuser.dat)";

struct SaveCase {
    const char* what;
    std::function<void(RegistryService&)> change;
    std::vector<image::RegistryLink> saved;  // besides the chain and the machine's other links
};

// Links are saved in [registry-link], never as keys; a hive's go back with
// its file.
TEST(SimRegistryLinks, SavedImageHoldsTheLinksThatAreLeft) {
    const image::RegistryLink annsLink = Link(R"(HKEY_CURRENT_USER\Software\Novell\Machine)", Target, AnnsHive);
    const image::RegistryLink machineLink = Link(Client + "Link", Target);
    const auto mountAnn = [](RegistryService& registry) {
        registry.EnableRestorePrivilege();
        registry.LoadKey(HkeyUsers, "tempkey", AnnsHive);
    };
    const SaveCase cases[] = {
        {"untouched", [](RegistryService&) {}, {machineLink, annsLink}},
        {"a link deleted", [](RegistryService& r) { r.DeleteLink(HkeyLocalMachine, R"(Software\Client\Link)"); },
         {annsLink}},
        {"a hive mounted", mountAnn, {machineLink, annsLink}},
        {"a hive's link deleted and the hive unloaded",
         [&](RegistryService& r) {
             mountAnn(r);
             r.DeleteLink(HkeyUsers, R"(tempkey\Software\Novell\Machine)");
             r.UnLoadKey(HkeyUsers, "tempkey");
         },
         {machineLink}},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.what);
        image::MachineImage image = LinkedImage({HiveFile("ann", "[HKEY_CURRENT_USER\\Software\\Novell]\n")});
        image.machine.registryLinks.push_back(annsLink);
        RegistryTestMachine machine(image);
        c.change(RegistryOf(machine));
        const image::MachineImage saved = machine.machine.SaveImage();
        for (const image::RegistryLink& link : {machineLink, annsLink}) {
            const bool expected = std::any_of(c.saved.begin(), c.saved.end(), [&](const image::RegistryLink& l) {
                return l.key == link.key && l.hive == link.hive;
            });
            const bool found = std::any_of(saved.machine.registryLinks.begin(), saved.machine.registryLinks.end(),
                                           [&](const image::RegistryLink& l) {
                                               return image::EqualsIgnoreCase(l.key, link.key) &&
                                                      image::EqualsIgnoreCase(l.hive, link.hive) && l.target == link.target;
                                           });
            EXPECT_EQ(found, expected) << link.key;
        }
        EXPECT_EQ(image::FindKey(saved.registry, machineLink.key), nullptr);
        EXPECT_EQ(image::FindKey(machine.HiveKeys("ann"), annsLink.key), nullptr);
    }
}

}  // namespace
}  // namespace purgent::testing
