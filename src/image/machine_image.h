#pragma once
// The machine-image format: a folder describing one Windows workstation.
//   registry.reg   regedit text (keys under HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER,
//                  HKEY_USERS; HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\Software\Classes)
//   drive/<LETTER>/...  files and folders of each drive
//   machine.ini    everything else
// All text in the model is 8-bit ANSI (Windows-1252), as the program sees it
// through the A functions; files on disk are UTF-8 and converted on the way.
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace purgent::image {

// An unreadable or malformed image; the message names the file (and line).
class ImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using Bytes = std::vector<std::uint8_t>;

// ---------------------------------------------------------------- registry

struct RegistryValue {
    std::string name;         // "" = the key's default value (@)
    std::uint32_t type = 1;   // REG_* number (REG_SZ = 1, REG_DWORD = 4, ...)
    Bytes data;               // as RegQueryValueExA returns it (REG_SZ with its NUL)
    bool deleted = false;     // "name"=- in a .reg document
};

struct RegistryKey {
    std::string path;         // root spelled out: "HKEY_LOCAL_MACHINE\\Software\\X"
    std::vector<RegistryValue> values;
    bool deleted = false;     // [-path] in a .reg document: the key and its subtree go
};

// A .reg document: keys in the order written. May hold deletions and repeats.
using RegistryKeys = std::vector<RegistryKey>;

// Parses .reg text ("Windows Registry Editor Version 5.00" or "REGEDIT4";
// UTF-8 with or without BOM, or UTF-16LE with BOM). sourceName is used in
// error messages ("registry.reg:12: ...").
RegistryKeys ParseRegText(const Bytes& text, const std::string& sourceName);
// Regedit-style UTF-8 text, keys in the order given; parsed again it gives the
// same keys.
std::string WriteRegText(const RegistryKeys& keys);

// A hive file's .reg text: like ParseRegText, but every key must lie under
// HKEY_CURRENT_USER.
RegistryKeys ParseHiveText(const Bytes& text, const std::string& sourceName);

// The registry the document leaves behind: deletions applied, repeated keys
// merged, implied parent keys added, parents before children (siblings in
// order of first appearance).
RegistryKeys NetRegistry(const RegistryKeys& keys);
// Whether two documents leave the same registry behind: the same keys, each
// with the same values (names case-insensitive, order ignored).
bool SameRegistry(const RegistryKeys& a, const RegistryKeys& b);

// The links of one registry (registry.reg's, or one hive file's) against its
// keys (NetRegistry): what is wrong with the first link that is a key of that
// registry too, holds one, or lies at or below another link; "" when none is.
struct RegistryLink;
std::string RegistryLinkConflict(const RegistryKeys& net, const std::vector<RegistryLink>& links);

// The keys a document names, leaving out those inside another named key, in
// order: what a snapshot of the real machine reads for it.
std::vector<std::string> RegistryScope(const RegistryKeys& keys);
// The NetRegistry keys at or below one of the scope's keys.
RegistryKeys WithinScope(const RegistryKeys& keys, const std::vector<std::string>& scope);

// Case-insensitive lookups; nullptr when absent.
const RegistryKey* FindKey(const RegistryKeys& keys, const std::string& path);
const RegistryValue* FindValue(const RegistryKey& key, const std::string& name);

// ------------------------------------------------------------ machine.ini

enum class PlatformFamily { Nt, Win9x, Other };   // nt | 9x | other

// One of the keys the simulator reads beyond the documented ones (the
// sections' otherKeys); parsed, key and value are in lower case.
struct IniEntry {
    std::string key;
    std::string value;
};

// File attribute bits as Windows numbers them.
constexpr std::uint32_t AttrReadOnly = 0x1;   // r
constexpr std::uint32_t AttrHidden = 0x2;     // h
constexpr std::uint32_t AttrSystem = 0x4;     // s

struct FileAttributes {
    std::string path;             // full Windows path
    std::uint32_t attributes = 0;
};

struct ProcessEntry {
    std::string image;            // e.g. "grpwise.exe"
    bool queryable = true;
    bool terminable = true;
    std::vector<IniEntry> otherKeys;
};

struct WindowEntry {
    std::string title;
    std::string className;
    bool closes = true;           // goes away on the close request
    std::string process;          // goes away when this image is terminated; "" = none
    std::vector<IniEntry> otherKeys;
};

// A DLL whose own unregistration ("regsvr32 /u") removes these keys, each
// with its subtree.
struct DllEntry {
    std::string path;                      // full Windows path of a file in drive/
    std::vector<std::string> unregisters;  // full key paths, root spelled out
    std::vector<IniEntry> otherKeys;
};

// A folder that names another, as Windows' "Documents and Settings" names
// "Users": a path through link lies at target. The link itself is no item.
struct Junction {
    std::string link;     // full Windows path
    std::string target;   // full Windows path
};

// A link a user or program made ([reparse]): a junction or directory
// symbolic link where target is a folder, a file symbolic link where it is a
// file. Anyone may list through it; it carries the reparse-point attribute.
using ReparsePoint = Junction;

// A symbolic-link key (REG_LINK, [registry-link]): opening a path through
// key opens target; opened as a link it is the key itself. A link inside a
// user's hive file names the file, and its key lies under HKEY_CURRENT_USER
// as the file's keys do: the hive may be mounted anywhere.
struct RegistryLink {
    std::string key;      // full key path, root spelled out
    std::string target;   // full key path, root spelled out; need not exist
    std::string hive;     // the hive file's full path; "" for registry.reg's registry
};

struct MachineSettings {
    std::optional<std::string> windir = std::string("C:\\WINDOWS");   // nullopt = unset
    PlatformFamily platform = PlatformFamily::Nt;
    bool restorePrivilege = true;
    std::vector<IniEntry> otherKeys;
};

struct MachineIni {
    MachineSettings machine;
    std::vector<FileAttributes> attributes;
    std::vector<std::string> locked;   // files that cannot be deleted; a hive file: in use
    std::vector<std::string> denied;   // keys that cannot be opened with full access
    std::vector<ProcessEntry> processes;
    std::vector<WindowEntry> windows;
    std::vector<DllEntry> dlls;
    std::vector<Junction> junctions;
    std::vector<ReparsePoint> reparsePoints;
    std::vector<RegistryLink> registryLinks;
};

// A [machine] section without a windir line means an unset variable; a file
// without a [machine] section is the bare workstation's settings. Unknown
// sections and keys are errors. With namesDriveItem, a path in [attributes],
// [locked] or a [dll] section for which it is false is an error too.
MachineIni ParseMachineIni(const std::string& text, const std::string& sourceName,
                           const std::function<bool(const std::string&)>& namesDriveItem = nullptr);
std::string WriteMachineIni(const MachineIni& ini);

// ---------------------------------------------------------------- drives

struct DriveItem {
    std::string path;     // full Windows path: "C:\\WINDOWS\\system32\\gwenv1.dll"
    bool folder = false;
    Bytes contents;       // files only
};

// Every folder and file, each folder listed before what it holds. Drive roots
// ("C:\\") are not items.
using DriveItems = std::vector<DriveItem>;

const DriveItem* FindDriveItem(const DriveItems& items, const std::string& path);
// Drops the [locked] and [dll] entries and the hive links of files the drive
// no longer holds: a deleted file is neither held open nor registered, and an
// image names only files it holds.
void ForgetDeletedFiles(MachineIni& machine, const DriveItems& drive);
// A user hive: a file named ntuser.dat (any case).
bool IsHiveFile(const DriveItem& item);

// ----------------------------------------------------------------- image

struct MachineImage {
    RegistryKeys registry;   // registry.reg as written
    MachineIni machine;
    DriveItems drive;
};

// A missing registry.reg, machine.ini or drive/ is that part of a bare NT
// workstation: windir C:\WINDOWS, nothing installed. A missing folder, and a
// hive file that is not .reg text under HKEY_CURRENT_USER, are errors.
MachineImage LoadMachineImage(const std::string& dir);
// Replaces registry.reg, machine.ini and drive/ in dir (created if needed).
void SaveMachineImage(const MachineImage& image, const std::string& dir);

}  // namespace purgent::image
