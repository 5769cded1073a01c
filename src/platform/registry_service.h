#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace purgent {

// A registry key handle. The predefined roots carry the values Windows gives
// them (sign-extended on 64-bit), so the Win32 backend passes handles through.
using RegKey = std::uintptr_t;

constexpr RegKey PredefinedKey(std::uint32_t value) {
    return static_cast<RegKey>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}
constexpr RegKey HkeyClassesRoot = PredefinedKey(0x80000000u);
constexpr RegKey HkeyCurrentUser = PredefinedKey(0x80000001u);
constexpr RegKey HkeyLocalMachine = PredefinedKey(0x80000002u);
constexpr RegKey HkeyUsers = PredefinedKey(0x80000003u);

enum RegValueType : std::uint32_t {
    RegNone = 0,
    RegSz = 1,
    RegExpandSz = 2,
    RegBinary = 3,
    RegDword = 4,
    RegMultiSz = 7,
    RegQword = 11,
};

// Win32 error codes the backends report.
namespace winerr {
constexpr long Success = 0;
constexpr long FileNotFound = 2;
constexpr long PathNotFound = 3;
constexpr long AccessDenied = 5;
constexpr long InvalidHandle = 6;
constexpr long SharingViolation = 32;
constexpr long InvalidParameter = 87;
constexpr long DirNotEmpty = 145;
constexpr long InvalidName = 123;
constexpr long AlreadyExists = 183;
constexpr long NoMoreItems = 259;
constexpr long Directory = 267;
constexpr long BadDb = 1009;
constexpr long KeyDeleted = 1018;
constexpr long KeyHasChildren = 1020;
constexpr long PrivilegeNotHeld = 1314;
}  // namespace winerr

// A symbolic-link key (REG_LINK): its own path and the key it leads to, each
// with the root spelled out ("HKEY_LOCAL_MACHINE\\..."); a target outside
// the roots is the registry's own name of it ("\\REGISTRY\\...").
struct RegLink {
    std::string path;
    std::string target;
};

// What a key is when it is opened as a link (REG_OPTION_OPEN_LINK).
enum class LinkCheck {
    NoSuchKey,   // nothing there (links on the way to it lead nowhere)
    NotALink,
    Link,
    Unreadable,  // it exists but cannot be opened to tell
};

// The registry as the Win32 API offers it (RegOpenKeyExA ... RegUnLoadKeyA).
// Every call returns a Win32 error code, winerr::Success on success.
class RegistryService {
public:
    virtual ~RegistryService() = default;

    // RegOpenKeyExA with KEY_ALL_ACCESS; an empty subKey reopens base.
    virtual long OpenKey(RegKey base, const std::string& subKey, RegKey& opened) = 0;
    virtual long CloseKey(RegKey key) = 0;
    virtual long QueryInfoKey(RegKey key, std::uint32_t& subKeys, std::uint32_t& maxSubKeyLength,
                              std::uint32_t& values) = 0;
    virtual long EnumKey(RegKey key, std::uint32_t index, std::string& name) = 0;
    virtual long EnumValue(RegKey key, std::uint32_t index, std::string& name) = 0;
    // An empty name addresses the key's default value.
    virtual long QueryValue(RegKey key, const std::string& name, std::uint32_t& type,
                            std::vector<std::uint8_t>& data) = 0;
    virtual long SetValue(RegKey key, const std::string& name, std::uint32_t type,
                          const std::vector<std::uint8_t>& data) = 0;
    // RegDeleteKeyA: fails for a key that still has subkeys. A link key as
    // the last name is followed: its target is deleted, not the link.
    virtual long DeleteKey(RegKey base, const std::string& subKey) = 0;
    // Opens the key subKey names below base as a link (REG_OPTION_OPEN_LINK,
    // for reading) and tells what it is: a link holds a "SymbolicLinkValue"
    // of type REG_LINK. Links on the way to it are followed, as by any open.
    virtual LinkCheck CheckLink(RegKey base, const std::string& subKey, RegLink& link) = 0;
    // RegOpenKeyExA with REG_OPTION_OPEN_LINK and KEY_ALL_ACCESS: a link key
    // as the last name is opened as the link itself (links on the way are
    // followed); any other key as by OpenKey.
    virtual long OpenAsLink(RegKey base, const std::string& subKey, RegKey& opened) = 0;
    // Whether an open key is a link key (opened as a link): its path and target.
    virtual bool IsLink(RegKey key, RegLink& link) = 0;
    // Deletes the link key subKey names below base as a link (NtDeleteKey on
    // it opened with REG_OPTION_OPEN_LINK): the link goes, its target stays.
    // Fails (winerr::InvalidParameter) for a key that is no link.
    virtual long DeleteLink(RegKey base, const std::string& subKey) = 0;
    virtual long DeleteValue(RegKey key, const std::string& name) = 0;
    virtual long LoadKey(RegKey root, const std::string& name, const std::string& file) = 0;
    virtual long UnLoadKey(RegKey root, const std::string& name) = 0;
    // RegUnLoadKeyA of a hive nothing was changed in: its file stays as it was.
    virtual long UnLoadKeyUnchanged(RegKey root, const std::string& name) { return UnLoadKey(root, name); }
    // The full path of the key subKey names below base (an empty subKey: base
    // itself), its root spelled out ("HKEY_LOCAL_MACHINE\\...") and each name
    // as the registry keeps it; "" when there is no such key.
    virtual std::string KeyPath(RegKey base, const std::string& subKey) = 0;
    // OpenProcessToken, LookupPrivilegeValueA("SeRestorePrivilege"),
    // AdjustTokenPrivileges, then GetLastError() == ERROR_SUCCESS.
    virtual bool EnableRestorePrivilege() = 0;
};

}  // namespace purgent
