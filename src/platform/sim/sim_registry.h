#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "image/machine_image.h"
#include "platform/registry_service.h"
#include "platform/sim/sim_drive.h"
#include "platform/sim/sim_key.h"

namespace purgent::sim {

// The registry of the simulated workstation, behaving like Windows wherever
// the program can tell: see SimKey for names and order; HKEY_CLASSES_ROOT is
// the view of HKEY_LOCAL_MACHINE\SOFTWARE\Classes; handles outlive the
// deletion of their key; hive files are .reg text in the drive tree, mounted
// under HKEY_USERS; a link key leads every open through it to its target
// unless it is opened as a link.
class SimRegistry : public RegistryService {
public:
    SimRegistry(SimDrive& drive, bool restorePrivilege);

    // Adds the keys the document leaves behind (paths with the root spelled out).
    void Load(const image::RegistryKeys& keys);
    // Makes the link keys of [registry-link]; those of a hive file are made
    // when the file is loaded.
    void AddLinks(const std::vector<image::RegistryLink>& links);
    // The key (created if absent) exists but cannot be opened with full access.
    void Deny(const std::string& path);
    // RegCreateKeyExA at a full path: the key, made with the keys above it
    // where absent, opened with full access; AccessDenied where it is denied.
    long CreateKey(const std::string& path, RegKey& opened);
    // Deletes the key at a full path with its subtree, deepest keys first, as
    // a program's own unregistration does (RegDeleteTree); a key that cannot
    // be deleted stays, and so do the keys above it. Nothing when absent.
    // Returns the full paths of the keys deleted, in order.
    std::vector<std::string> DeleteTree(const std::string& path);
    // The registry without the mounted hives, parents before children; link
    // keys are no keys of it.
    image::RegistryKeys Keys() const;
    // The link keys of the registry and of every hive file, mounted or not.
    std::vector<image::RegistryLink> Links() const;
    // The hive files as they would be written if the hives were unloaded now.
    image::DriveItems MountedHiveFiles() const;
    // The keys of the hives mounted now, under HKEY_USERS where they are
    // mounted: a process killed before its unload leaves them so.
    image::RegistryKeys MountedHiveKeys() const;

    long OpenKey(RegKey base, const std::string& subKey, RegKey& opened) override;
    long CloseKey(RegKey key) override;
    long QueryInfoKey(RegKey key, std::uint32_t& subKeys, std::uint32_t& maxSubKeyLength,
                      std::uint32_t& values) override;
    long EnumKey(RegKey key, std::uint32_t index, std::string& name) override;
    long EnumValue(RegKey key, std::uint32_t index, std::string& name) override;
    long QueryValue(RegKey key, const std::string& name, std::uint32_t& type,
                    std::vector<std::uint8_t>& data) override;
    long SetValue(RegKey key, const std::string& name, std::uint32_t type,
                  const std::vector<std::uint8_t>& data) override;
    long DeleteKey(RegKey base, const std::string& subKey) override;
    LinkCheck CheckLink(RegKey base, const std::string& subKey, RegLink& link) override;
    long OpenAsLink(RegKey base, const std::string& subKey, RegKey& opened) override;
    bool IsLink(RegKey key, RegLink& link) override;
    long DeleteLink(RegKey base, const std::string& subKey) override;
    long DeleteValue(RegKey key, const std::string& name) override;
    long LoadKey(RegKey root, const std::string& name, const std::string& file) override;
    long UnLoadKey(RegKey root, const std::string& name) override;
    long UnLoadKeyUnchanged(RegKey root, const std::string& name) override;
    std::string KeyPath(RegKey base, const std::string& subKey) override;
    bool EnableRestorePrivilege() override;

private:
    struct Hive {
        int id;
        std::string file;
        std::shared_ptr<SimKey> key;
        // The revision of its file while the file holds the hive's text
        // (HiveText) and the tree has not changed since; 0 otherwise.
        std::uint64_t textRevision = 0;
    };

    std::shared_ptr<SimKey> RootOf(std::string_view name) const;
    std::shared_ptr<SimKey> KeyAt(const std::string& path);
    // The key at a full path, or nullptr; creates nothing.
    std::shared_ptr<SimKey> ExistingKeyAt(const std::string& path) const;
    // RegDeleteKeyA on a found key: the error code, or the key unlinked.
    long Remove(SimKey& key);
    void RemoveTree(SimKey& key, std::vector<std::string>& removed);
    // HKEY_LOCAL_MACHINE\SOFTWARE\Classes, made when first needed so that an
    // image's own spelling of it is kept.
    std::shared_ptr<SimKey> ClassesKey() const;
    bool IsClassesKey(const SimKey& key) const;
    std::shared_ptr<SimKey> Handle(RegKey key) const;
    RegKey NewHandle(std::shared_ptr<SimKey> key);
    // The open, undeleted key of a handle, or the error code for it.
    long LiveKey(RegKey key, std::shared_ptr<SimKey>& found) const;
    // The key subKey names below base; a link key on the way leads to its
    // target, and so does the last one unless openLink.
    long Lookup(RegKey base, const std::string& subKey, std::shared_ptr<SimKey>& found, bool openLink = false) const;
    // Walks a folded path down from key; hops counts the links followed.
    long Walk(std::shared_ptr<SimKey>& key, const std::string& folded, bool openLink, int& hops) const;
    // Replaces a link key by the key it leads to.
    long Follow(std::shared_ptr<SimKey>& key, int& hops) const;
    // The links in a hive's tree, named as its file holds them.
    std::vector<image::RegistryLink> HiveLinks(const Hive& hive) const;
    std::vector<Hive>::iterator MountedHive(const std::string& name);
    // A mounted hive loaded again from its file as it was unloaded, without
    // reading the file: the tree is what reading its text would give (see
    // WriteRegText). False when the file or the name differs.
    bool Remount(const std::string& name, const image::DriveItem& file);
    // Writes the hive back unless its file holds its text already; false
    // when it has no file to write.
    bool WriteBack(Hive& hive);
    // A new handle to a found key, unless it is protected.
    long HandleTo(const std::shared_ptr<SimKey>& key, RegKey& opened);
    // The key's hive (if mounted) no longer matches its file.
    void Changed(const SimKey& key);
    bool HiveHasOpenHandles(int hive) const;
    // Every direct subkey of HKEY_USERS an image holds is a hive the system
    // loaded (HKEY_USERS holds nothing else): unloading one removes it.
    long UnloadImageHive(const std::string& name);
    // writeBack: the hive's keys go back into its file, as Windows writes a changed hive.
    long Unload(RegKey root, const std::string& name, bool writeBack);
    std::string HiveText(const Hive& hive) const;

    SimDrive& drive_;
    const bool restorePrivilegeHeld_;
    bool restorePrivilegeEnabled_ = false;
    std::shared_ptr<SimKey> localMachine_;
    std::shared_ptr<SimKey> currentUser_;
    std::shared_ptr<SimKey> users_;
    std::map<RegKey, std::shared_ptr<SimKey>> handles_;
    RegKey nextHandle_ = 0x100;
    std::vector<Hive> hives_;
    // Unloaded hives by folded file path: each pass over the users loads
    // every hive again, and most passes change nothing in most hives.
    std::map<std::string, Hive> unloaded_;
    // The link keys of each hive file (by folded path) as the file holds them.
    std::map<std::string, std::vector<image::RegistryLink>> hiveLinks_;
    int nextHiveId_ = 1;
};

}  // namespace purgent::sim
