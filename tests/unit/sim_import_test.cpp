// Importing a document walks each path from where it parts from the one
// before: the registry left must be the one the document describes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "image/ansi_text.h"
#include "image/machine_image.h"
#include "platform/sim/sim_drive.h"
#include "platform/sim/sim_import.h"
#include "platform/sim/sim_names.h"
#include "platform/sim/sim_registry.h"
#include "param_name.h"

namespace purgent::sim {
namespace {

// Each key below a root with its values, sorted; upper-cased when folded.
std::vector<std::string> Listing(const image::RegistryKeys& keys, bool folded = false) {
    std::vector<std::string> lines;
    for (const image::RegistryKey& key : keys) {
        if (key.path.find('\\') == std::string::npos) continue;
        std::string line = key.path;
        for (const image::RegistryValue& value : key.values)
            line += " | " + value.name + "=" + std::string(value.data.begin(), value.data.end());
        if (folded) std::transform(line.begin(), line.end(), line.begin(), image::FoldCase);
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

// Every path walked from its root, key by key, as regedit imports.
image::RegistryKeys WalkedFromTheRoot(const image::RegistryKeys& keys) {
    std::map<std::string, std::shared_ptr<SimKey>> roots;
    for (const image::RegistryKey& key : keys) {
        bool valid = false;
        const std::vector<std::string_view> parts = SplitPath(key.path, valid);
        std::shared_ptr<SimKey>& root = roots[std::string(parts[0])];
        if (!root) root = std::make_shared<SimKey>(std::string(parts[0]));
        if (key.deleted) {
            const std::shared_ptr<SimKey> gone = FindPath(root, parts, 1);
            if (gone) gone->Parent()->RemoveSubkey(*gone);
            continue;
        }
        std::shared_ptr<SimKey> node = root;
        for (std::size_t i = 1; i < parts.size(); ++i) node = node->AddSubkey(parts[i]);
        for (const image::RegistryValue& value : key.values) {
            if (value.deleted) node->RemoveValue(value.name);
            else node->SetValue(value.name, value.type, value.data);
        }
    }
    image::RegistryKeys walked;
    std::function<void(const SimKey&, const std::string&)> collect = [&](const SimKey& key, const std::string& path) {
        image::RegistryKey listed{path, {}, false};
        for (const SimValue& value : key.Values()) listed.values.push_back({value.name, value.type, value.data, false});
        walked.push_back(listed);
        for (const auto& sub : key.Subkeys()) collect(*sub, path + "\\" + sub->Name());
    };
    for (const auto& [name, root] : roots) collect(*root, name);
    return walked;
}

struct Document {
    const char* what;
    const char* text;
};

const Document kDocuments[] = {
    {"siblings listed together", "[HKEY_LOCAL_MACHINE\\Software\\A\\One]\n[HKEY_LOCAL_MACHINE\\Software\\A\\Two]\n"
                                 "[HKEY_LOCAL_MACHINE\\Software\\B\\One]\n"},
    {"another spelling of the same path",
     "[HKEY_LOCAL_MACHINE\\Software\\Vendor\\App]\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\vendor\\Other]\n"
     "[HKEY_LOCAL_MACHINE\\software\\VENDOR\\app\\Sub]\n\"v\"=\"1\"\n"},
    {"a parent after its child", "[HKEY_CURRENT_USER\\A\\B\\C]\n[HKEY_CURRENT_USER\\A\\B]\n\"v\"=\"b\"\n"
                                 "[HKEY_CURRENT_USER\\A\\B\\C\\D]\n"},
    {"the same names under another root", "[HKEY_LOCAL_MACHINE\\Software\\A]\n[HKEY_CURRENT_USER\\Software\\A\\B]\n"
                                          "[HKEY_LOCAL_MACHINE\\Software\\A\\C]\n"},
    {"the path walked deleted and written again",
     "[HKEY_CURRENT_USER\\A\\B\\C]\n\"v\"=\"old\"\n[-HKEY_CURRENT_USER\\A\\B]\n[HKEY_CURRENT_USER\\a\\b\\c\\D]\n"
     "[HKEY_CURRENT_USER\\A\\B\\C]\n\"w\"=\"new\"\n"},
    {"a sibling deleted between two keys", "[HKEY_CURRENT_USER\\A\\Keep]\n[HKEY_CURRENT_USER\\A\\Gone\\X]\n"
                                           "[-HKEY_CURRENT_USER\\A\\Gone]\n[HKEY_CURRENT_USER\\A\\Keep\\Y]\n"},
    {"a key repeated with values merged", "[HKEY_CURRENT_USER\\A]\n\"x\"=\"1\"\n\"y\"=\"2\"\n[HKEY_CURRENT_USER\\A\\B]\n"
                                          "[HKEY_CURRENT_USER\\A]\n\"x\"=-\n\"Y\"=\"3\"\n"},
    {"ANSI letters in any case", "[HKEY_CURRENT_USER\\Caf\xC3\xA9\\\xC5\xA1]\n[HKEY_CURRENT_USER\\CAF\xC3\x89\\\xC5\xA0\\x]\n"},
};

void PrintTo(const Document& document, std::ostream* out) { *out << document.what; }

class SimImport : public ::testing::TestWithParam<Document> {};

TEST_P(SimImport, LeavesTheRegistryTheDocumentDescribes) {
    const std::string text = std::string("Windows Registry Editor Version 5.00\n\n") + GetParam().text;
    const image::RegistryKeys keys = image::ParseRegText(image::Bytes(text.begin(), text.end()), "test.reg");
    SimDrive drive({});
    SimRegistry registry(drive, true);
    registry.Load(keys);
    // Names keep the spelling they were first written with.
    EXPECT_EQ(Listing(registry.Keys()), Listing(WalkedFromTheRoot(keys)));
    EXPECT_EQ(Listing(registry.Keys(), true), Listing(image::NetRegistry(keys), true));
}

INSTANTIATE_TEST_SUITE_P(Documents, SimImport, ::testing::ValuesIn(kDocuments),
                         testing::CaseName<Document>);

}  // namespace
}  // namespace purgent::sim
