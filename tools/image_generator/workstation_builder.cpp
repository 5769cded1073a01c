#include "workstation_builder.h"

#include "image/ansi_text.h"

namespace purgent::generator {
namespace {

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegDword = 4;

image::RegistryValue StringValue(const std::string& name, const std::string& text, std::uint32_t type) {
    image::RegistryValue value{name, type, image::Bytes(text.begin(), text.end()), false};
    value.data.push_back(0);
    return value;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }
std::string NameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

}  // namespace

image::RegistryValue Text(const std::string& name, const std::string& text) {
    return StringValue(name, text, kRegSz);
}

image::RegistryValue ExpandText(const std::string& name, const std::string& text) {
    return StringValue(name, text, kRegExpandSz);
}

image::RegistryValue Number(const std::string& name, std::uint32_t number) {
    return {name, kRegDword,
            {std::uint8_t(number), std::uint8_t(number >> 8), std::uint8_t(number >> 16), std::uint8_t(number >> 24)},
            false};
}

// Each workstation draws its own rates first, so that some seeds have many
// odd cases and others none.
WorkstationBuilder::WorkstationBuilder(std::uint64_t seed)
    : random_(seed),
      wrongTypePercent_(random_.Percent(25) ? 1 + random_.Below(4) : 0),
      deniedPercent_(random_.Percent(30) ? 2 + random_.Below(6) : 0),
      attributePercent_(random_.Below(40)),
      lockedPercent_(random_.Percent(40) ? 1 + random_.Below(8) : 0) {
    image_.machine.machine.windir = "C:\\windows";
}

std::string WorkstationBuilder::Folded(const std::string& path) {
    std::string folded = path;
    for (char& c : folded) c = image::FoldCase(c);
    return folded;
}

KeySink WorkstationBuilder::Hive(const std::string& hivePath) {
    File(hivePath, false);
    const std::string file = ThroughLinks(hivePath);
    return {&hives_[Folded(file)], "HKEY_CURRENT_USER", file};
}

void WorkstationBuilder::Key(const KeySink& sink, const std::string& subPath, Values values) {
    sink.keys->push_back({sink.root + subPath, std::move(values), false});
}

void WorkstationBuilder::Cleared(const KeySink& sink, const std::string& subPath) {
    sink.keys->push_back({sink.root + subPath, {}, true});
}

image::RegistryValue WorkstationBuilder::ReadText(const std::string& name, const std::string& text) {
    if (random_.Percent(wrongTypePercent_)) return Number(name, static_cast<std::uint32_t>(text.size()));
    return Text(name, text);
}

void WorkstationBuilder::MaybeDenied(const KeySink& sink, const std::string& subPath) {
    // Only the registry.reg keys: a hive file carries no security here.
    if (sink.keys == &image_.registry && random_.Percent(deniedPercent_))
        image_.machine.denied.push_back(sink.root + subPath);
}

void WorkstationBuilder::Link(const KeySink& sink, const std::string& subPath, const std::string& target) {
    std::vector<image::RegistryLink> links;  // the sink's, the new one last
    for (const image::RegistryLink& link : image_.machine.registryLinks)
        if (Folded(link.hive) == Folded(sink.hive)) links.push_back(link);
    links.push_back({sink.root + subPath, target, sink.hive});
    if (image::RegistryLinkConflict(image::NetRegistry(*sink.keys), links).empty())
        image_.machine.registryLinks.push_back(links.back());
}

void WorkstationBuilder::Junction(const std::string& link, const std::string& target) {
    image_.machine.junctions.push_back({link, target});
}

void WorkstationBuilder::Link(const std::string& link, const std::string& target) {
    Folder(FolderOf(link));
    image_.machine.reparsePoints.push_back({ThroughLinks(link), target});
}

std::string WorkstationBuilder::ThroughLinks(const std::string& path) const {
    for (const auto* links : {&image_.machine.junctions, &image_.machine.reparsePoints})
        for (const image::Junction& junction : *links) {
            const std::string& link = junction.link;
            if (path.size() >= link.size() && Folded(path.substr(0, link.size())) == Folded(link) &&
                (path.size() == link.size() || path[link.size()] == '\\'))
                return ThroughLinks(junction.target + path.substr(link.size()));
        }
    return path;
}

void WorkstationBuilder::Folder(const std::string& given) {
    const std::string path = ThroughLinks(given);
    if (path.size() <= 3) return;  // a drive root is no item
    Folder(FolderOf(path));
    auto [item, added] = items_.try_emplace(Folded(path), image::DriveItem{path, true, {}});
    if (added && random_.Percent(attributePercent_ / 4))
        image_.machine.attributes.push_back({path, static_cast<std::uint32_t>(1 + random_.Below(7))});
}

bool WorkstationBuilder::AddFile(const std::string& path, const std::string& text) {
    Folder(FolderOf(path));
    return items_.try_emplace(Folded(path), image::DriveItem{path, false, {text.begin(), text.end()}}).second;
}

void WorkstationBuilder::File(const std::string& given, bool mayLock) {
    const std::string path = ThroughLinks(given);
    if (!AddFile(path, "generated: " + NameOf(path) + "\r\n")) return;
    if (random_.Percent(attributePercent_))
        image_.machine.attributes.push_back({path, static_cast<std::uint32_t>(1 + random_.Below(7))});
    if (mayLock && random_.Percent(lockedPercent_)) image_.machine.locked.push_back(path);
}

void WorkstationBuilder::ComServer(const std::string& path) {
    File(path);
    const std::string key = "\\Software\\Classes\\PurgentTest." + NameOf(path);
    Key(Machine(), key + "\\InprocServer32", {Text("", path)});
    image_.machine.dlls.push_back({path, {"HKEY_LOCAL_MACHINE" + key}, {}});
}

void WorkstationBuilder::Bystander(const std::string& given) {
    const std::string path = ThroughLinks(given);
    if (AddFile(path, "kept: " + NameOf(path) + "\r\n")) bystanders_.push_back(path);
}

// What was made below a link drawn afterwards lies where the link leads. A
// folder reached in two spellings is one folder: everything in it takes the
// spelling it was first made with. A machine with held files names the key
// where Windows lists what it deletes at its next start, so that a machine
// read back holds that list.
image::MachineImage WorkstationBuilder::Finish() {
    image::MachineImage image = image_;
    if (!image.machine.locked.empty())
        image.registry.push_back({R"(HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager)", {}, false});
    for (image::FileAttributes& entry : image.machine.attributes) entry.path = ThroughLinks(entry.path);
    for (std::string& path : image.machine.locked) path = ThroughLinks(path);
    for (image::DllEntry& dll : image.machine.dlls) dll.path = ThroughLinks(dll.path);
    std::map<std::string, image::DriveItem> items;
    for (auto [folded, item] : items_) {
        item.path = ThroughLinks(item.path);
        items.try_emplace(Folded(item.path), item);
    }
    std::map<std::string, std::string> spelling;  // folded path -> path as written
    for (const auto& [folded, item] : items) {
        const auto parent = spelling.find(FolderOf(folded));
        image.drive.push_back(item);
        if (parent != spelling.end()) image.drive.back().path = parent->second + "\\" + NameOf(item.path);
        spelling[folded] = image.drive.back().path;
        const auto hive = hives_.find(folded);
        if (hive == hives_.end()) continue;
        const std::string text = image::WriteRegText(hive->second);
        image.drive.back().contents.assign(text.begin(), text.end());
    }
    return image;
}

}  // namespace purgent::generator
