#pragma once
// What a preview read of the machine, kept as a machine image: the keys with
// their values, the folders and files with their attributes, the files held
// open, the processes and windows, the user hives read through a mount. It
// holds names and attributes, never a file's contents.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "image/machine_image.h"
#include "platform/preview/preview_text.h"

namespace purgent {

class CaptureRecord {
public:
    // A key opened, with the values it held then (once per key).
    bool KnowsKey(const std::string& path) const { return opened_.count(preview::Folded(path)) > 0; }
    void Key(const std::string& path, std::vector<image::RegistryValue> values);
    // A key an enumeration named: it exists, its values unread.
    void ListedKey(const std::string& path);
    // A key that exists and cannot be opened with full access.
    void DeniedKey(const std::string& path);
    // A link key and the key it leads to: no key of the registry it lies in.
    void Link(const std::string& path, const std::string& target);
    // A hive file mounted under HKEY_USERS\mountName: what is read below the
    // mount until it is unloaded belongs to that file.
    void HiveMounted(const std::string& mountName, const std::string& file);
    void HiveUnmounted(const std::string& mountName);

    // A file or folder seen with these attributes (GetFileAttributes or a listing).
    void Item(const std::string& path, std::uint32_t attributes);
    void HeldFile(const std::string& path);
    // A folder or file that leads elsewhere than its parent's place and its
    // own name: a link ([reparse]) where it can be listed, a junction
    // ([junction]) where listing it is denied.
    void Link(const std::string& link, const std::string& target, bool listable);

    // A process listed: its image when the program could read it.
    void Process(std::uint32_t id, const std::string& image, bool queryable);
    void Window(const std::string& title, const std::string& className, std::uint32_t processId);

    void Settings(const image::MachineSettings& settings) { settings_ = settings; }
    image::MachineSettings& Settings() { return settings_; }

    image::MachineImage Image() const;

private:
    struct Hive {
        std::string file;
        image::RegistryKeys keys;  // under HKEY_CURRENT_USER
    };

    // The hive file a key path lies in through a mount ("" for none), and the path there.
    std::string HiveFileOf(const std::string& path, std::string& written) const;
    // The registry document a key path is written to, and the path there.
    image::RegistryKeys& DocumentOf(const std::string& path, std::string& written);
    // A document's keys without those at its links' paths, which an
    // enumeration named as keys.
    image::RegistryKeys WithoutLinks(const image::RegistryKeys& keys, const std::string& hiveFile) const;
    image::RegistryKey& At(image::RegistryKeys& keys, const std::string& path);

    image::RegistryKeys keys_;
    std::map<std::string, std::size_t> keyIndex_;  // folded written path (hive file + path) -> position
    std::set<std::string> opened_;                 // folded paths
    std::vector<std::string> denied_;
    std::map<std::string, std::string> mounts_;   // folded mount name -> hive file
    std::map<std::string, Hive> hives_;           // folded file -> its keys
    std::map<std::string, std::pair<std::string, std::uint32_t>> items_;  // folded path -> path, attributes
    std::vector<std::string> held_;
    std::vector<image::Junction> junctions_;
    std::vector<image::ReparsePoint> reparsePoints_;
    std::vector<image::RegistryLink> links_;
    std::vector<std::pair<std::uint32_t, image::ProcessEntry>> processes_;
    std::vector<image::WindowEntry> windows_;
    std::map<std::uint32_t, std::uint32_t> windowProcesses_;  // window position -> process id
    image::MachineSettings settings_;
};

}  // namespace purgent
