#pragma once
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "run/status_reporter.h"
#include "platform/environment_service.h"
#include "platform/registry_service.h"

namespace purgent {

// The one registry accessor: a current root, at most one open key, and the
// program's own tree deletion, hive mount and per-user pass. Errors of
// ReadString and WriteString are raised as PurgentError.
//
// A path never leads through a link key, except the few Windows keeps
// (IsWindowsLink): another program's or a user's link could lead anywhere,
// the machine's keys included. So a path with such a link on the way is
// neither opened nor deleted, and a link as its last name is not opened
// either; each is left alone with a "kept" note. Deleting goes as far as the
// link itself: a link key named, or met below a key named, is deleted as a
// link, its target untouched, and it has no subtree.
class RegistryAccess {
public:
    // Other users' hives are mounted under a name of the program's own, so
    // that a mount of that name found at the start can only be a leftover of
    // an earlier run that was killed, and another program's "tempkey" is
    // never in the way nor touched.
    static constexpr const char* TempHive = "Purgent.UserHive";

    // Windows nests keys at most this deep; below a key named, no deletion
    // goes further down.
    static constexpr int MaxKeyDepth = 512;

    // environment hears of every key left alone (EnvironmentService::Kept).
    RegistryAccess(RegistryService& registry, StatusReporter& status, EnvironmentService& environment);
    ~RegistryAccess();
    RegistryAccess(const RegistryAccess&) = delete;
    RegistryAccess& operator=(const RegistryAccess&) = delete;

    RegKey RootKey() const { return root_; }
    // Assigning another root closes the open key; the same root keeps it.
    void SetRootKey(RegKey root);

    bool OpenKey(const std::string& path);
    void CloseKey();
    bool KeyExists(const std::string& path);
    bool ValueExists(const std::string& name);
    std::string ReadString(const std::string& name);
    void WriteString(const std::string& name, const std::string& text);
    // True when the value exists and holds no data or an empty string.
    bool ValueIsEmpty(const std::string& name);
    bool DeleteValue(const std::string& name);
    bool DeleteKey(const std::string& path);
    std::vector<std::string> GetKeyNames();
    std::vector<std::string> GetValueNames();
    bool LoadKey(const std::string& name, const std::string& file);
    bool UnLoadKey(const std::string& name);

    void DeleteKeyTree(const std::string& path);
    // What DeleteKeyTree reports for each key: its path, one progress step.
    void ReportKey(const std::string& path);
    bool MountUserHive(const std::string& file, const std::string& name);
    // Runs body for each profile: entry 0 through HKEY_CURRENT_USER, a
    // logged-on user where HKEY_USERS\<SID> holds the hive, any other user
    // through the ntuser.dat in its folder mounted as TempHive; folders and
    // sids hold each entry's folder and SID ("" for none). A TempHive left by
    // an earlier run is unloaded first.
    void UserHivePass(const std::vector<std::string>& folders, const std::vector<std::string>& sids,
                      const std::function<void()>& body);
    const std::string& HivePrefix() const { return hivePrefix_; }
    // The position of the profile a UserHivePass body is running for.
    std::size_t UserEntry() const { return userEntry_; }

private:
    enum class UserHive { Current, Loaded, Mounted, Unavailable };
    // Points the root and HivePrefix at the user's hive, mounting it if need be.
    UserHive EnterUser(const std::string& folder, const std::string& sid);
    // The path rule: "\..." resolves against the root, anything else against
    // the open key if there is one, else against the root.
    RegKey BaseFor(const std::string& path) const;
    // A new handle to the key at path with full access, or 0.
    RegKey OpenHandle(const std::string& path) const;
    // OpenKey without looking for links.
    bool OpenUnchecked(const std::string& path);
    // Makes a handle from OpenHandle or OpenItself the current key.
    bool Opened(const std::string& path, RegKey opened);
    // A new handle to the key at path with full access, or 0: nothing on the
    // way refused, and the key itself no link (one Windows keeps is followed).
    RegKey OpenItself(const std::string& path);
    // Why a key is left alone: a link key on the way to it, or a key there
    // that cannot be read to tell; "" when nothing stands in the way.
    std::string Obstacle(RegKey base, const std::string& subKey);
    // Notes the key at path as kept when something stands in its way.
    bool Refused(const std::string& path);
    // A mount or unload makes the names mean other keys.
    void ForgetPassable();
    // The full path the run names a key by: its base's path and subKey.
    std::string NamedPath(RegKey base, const std::string& subKey);
    // The same, folded, for throughPassable_: a root by its handle, which
    // needs no asking (its names end with subKey's).
    std::string WalkName(RegKey base, const std::string& subKey);
    void DeleteTree(const std::string& path, int depth);
    bool DeleteKeyAt(RegKey base, const std::string& subKey, int depth);
    std::vector<std::string> ListNames(bool valueNames);
    // Closes the open key and unloads the hive mounted under TempHive.
    void ReleaseUserHive();
    // A hive an earlier run left mounted (it was killed before its unload)
    // keeps its user's ntuser.dat locked and TempHive taken until a reboot.
    void ReleaseLeftoverHive();

    RegistryService& registry_;
    StatusReporter& status_;
    EnvironmentService& environment_;
    RegKey root_ = HkeyCurrentUser;
    std::size_t userEntry_ = 0;
    RegKey current_ = 0;
    bool hasCurrent_ = false;
    std::string currentPath_;
    std::string hivePrefix_;
    // The keys found on the way to others to be no link (or one Windows
    // keeps), by folded WalkName: the catalogues open many keys below the
    // same few.
    std::unordered_set<std::string> throughPassable_;
    // The parent (as written, below a root) of the last key whose way was
    // found passable.
    RegKey lastParentRoot_ = 0;
    std::string lastParent_;
};

}  // namespace purgent
