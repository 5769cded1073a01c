#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "image/machine_image.h"
#include "platform/file_service.h"

namespace purgent::sim {

// The files and folders of the simulated drives, found by full Windows path
// in any case, with Windows' rules for what can be deleted: not a read-only
// or locked ([locked]) file, and only an empty folder. Paths are normalised
// as Windows does (see FullPath); a path without a drive letter lies on
// drive C:, the drive the program runs from. A path through a junction
// ([junction]) or a link ([reparse]) names what lies at its target; a
// junction denies listing, a link lists its target; either carries the
// reparse-point attribute, and removing or deleting one takes the link only,
// never what it leads to. Each item that is not a valid
// 8.3 name gets a short name when it is added, as Windows makes them, unless
// machine.ini says the volumes have none ([machine] short-names=no); a
// listing's mask matches either name, as FindFirstFileA does (the cleaning
// keeps only the long names that fit: MaskListing).
class SimDrive {
public:
    explicit SimDrive(const image::DriveItems& items, const image::MachineIni& machine = {});

    const image::DriveItem* Find(const std::string& path) const;
    bool FileExists(const std::string& path) const;
    // Whether the path lies on a drive machine.ini maps to a network share
    // ([machine] network-drives).
    bool OnNetworkDrive(const std::string& path) const;
    // Whether ordinary users may create files in the folder ([machine]
    // user-writable: folders separated by ";").
    bool OpenToUsers(const std::string& folder) const;
    // Whether the path names a junction or link itself.
    bool IsLink(const std::string& path) const { return LinkAt(path) != nullptr; }
    // Held open by another program ([locked]).
    bool Locked(const std::string& path) const;
    // Replaces the contents of an existing file; false when there is none.
    bool WriteFile(const std::string& path, const std::string& contents);
    // A file at path, new or the one of that name (emptied when empty is
    // set), held open (as if [locked]) until released. False where Windows
    // refuses: no such folder, a folder, a read-only or held file there, or
    // a name with a character Windows does not allow (< > : " / | ? * or a
    // control character).
    bool CreateHeldFile(const std::string& path, bool empty);
    // A new empty folder: winerr::Success, or 183 (it exists), 3 (no such
    // parent folder), 123 (a name Windows does not allow).
    long CreateFolder(const std::string& path);
    // Adds bytes at the end of a file; false when there is none.
    bool AppendToFile(const std::string& path, const std::string& bytes);
    // A number that is new with every change of the item's contents (and
    // for every item made anew); 0 when there is none.
    std::uint64_t Revision(const std::string& path) const;
    void ReleaseFile(const std::string& path);

    // NoSuchFile when the path names nothing; a drive root is a folder.
    std::uint32_t Attributes(const std::string& path) const;
    // The r/h/s bits of a file or folder; false when it does not exist.
    bool SetAttributes(const std::string& path, std::uint32_t attributes);
    // winerr::Success, or the error Windows gives for the same path.
    long DeleteFile(const std::string& path);
    long RemoveFolder(const std::string& path);
    // The entries of folder whose names match pattern, as FindFirstFileA lists
    // them: "." and ".." first (not in a drive root), then by upper-cased name.
    std::vector<FoundFile> Entries(const std::string& folder, const std::string& pattern) const;

    // Every item, each folder before what it holds.
    image::DriveItems Items() const;
    // The links ([reparse]) that are still there, as the image wrote them.
    std::vector<image::ReparsePoint> ReparsePoints() const;
    // The r/h/s attributes of every item that has any.
    std::vector<image::FileAttributes> AttributeList() const;

private:
    struct Entry {
        image::DriveItem item;
        std::uint32_t attributes = 0;  // r/h/s only
        bool locked = false;
        std::string shortName;         // "" = none
        std::uint64_t revision = 0;
    };

    // A junction or link: where it sits and where it leads (folded keys).
    struct Link {
        std::string key;
        std::string target;
        bool listable;              // [reparse]; a [junction] denies listing
        image::ReparsePoint written;
    };

    void AddLink(const image::Junction& link, bool listable);
    void GiveShortNames(const image::DriveItems& items);
    // The normalised, folded path an item is found under, links resolved.
    std::string Key(const std::string& path) const;
    // The link the path names itself (its folder resolved, not it), or nullptr.
    const Link* LinkAt(const std::string& path) const;
    // The attributes Windows gives a link itself.
    std::uint32_t LinkAttributes(const Link& link) const;
    void RemoveLink(const Link& link);
    Entry* At(const std::string& path);
    const Entry* At(const std::string& path) const;
    bool HasChildren(const std::string& key) const;
    bool IsDriveRoot(const std::string& key) const;

    // A new revision for an entry whose contents change.
    void Revise(Entry& entry) { entry.revision = nextRevision_++; }

    std::map<std::string, Entry> items_;  // by Key()
    std::uint64_t nextRevision_ = 1;
    std::vector<Link> links_;
    std::string networkDrives_;           // upper-case letters
    std::vector<std::string> openToUsers_;  // folded keys
};

}  // namespace purgent::sim
