#include "seed_registry.h"

#include <sddl.h>

#include <algorithm>
#include <cstdio>

#include "image/ansi_text.h"
#include "image/reg_text_format.h"
#include "platform/win32/win32_registry_links.h"

namespace purgent::e2e {
namespace {

void Check(LONG status, const std::string& what) {
    if (status != ERROR_SUCCESS) throw HelperError(what + " failed with error " + std::to_string(status));
}

// A handle closed when it goes out of scope.
class OpenKey {
public:
    explicit OpenKey(HKEY key) : key_(key) {}
    ~OpenKey() { RegCloseKey(key_); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_;
};

HKEY CreateKey(const KeyLocation& location) {
    HKEY key = nullptr;
    Check(RegCreateKeyExA(location.root, location.subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &key, nullptr),
          "RegCreateKeyExA " + location.subKey);
    return key;
}

void DumpOpenKey(HKEY key, const std::string& reportedPath, const std::string& hive, RegistryRead& out) {
    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxName = 0, maxData = 0;
    Check(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, &maxName,
                           &maxData, nullptr, nullptr),
          "RegQueryInfoKeyA " + reportedPath);
    image::RegistryKey entry;
    entry.path = reportedPath;
    for (DWORD i = 0; i < values; ++i) {
        std::string name(maxName + 1, '\0');
        image::Bytes data(maxData + 1);
        DWORD nameLength = static_cast<DWORD>(name.size()), dataLength = static_cast<DWORD>(data.size()), type = 0;
        Check(RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength),
              "RegEnumValueA " + reportedPath);
        name.resize(nameLength);
        data.resize(dataLength);
        entry.values.push_back({name, type, data, false});
    }
    out.keys.push_back(std::move(entry));
    for (DWORD i = 0; i < subKeys; ++i) {
        std::string name(maxSubKey + 1, '\0');
        DWORD nameLength = static_cast<DWORD>(name.size());
        Check(RegEnumKeyExA(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr),
              "RegEnumKeyExA " + reportedPath);
        name.resize(nameLength);
        RegLink link;
        if (CheckLinkAt(key, name, link) == LinkCheck::Link) {
            out.links.push_back({reportedPath + "\\" + name, link.target, hive});
            continue;
        }
        HKEY child = nullptr;
        Check(RegOpenKeyExA(key, name.c_str(), 0, KEY_READ, &child), "RegOpenKeyExA " + reportedPath + "\\" + name);
        OpenKey open(child);
        DumpOpenKey(child, reportedPath + "\\" + name, hive, out);
    }
}

// The subkeys of an open key and the subtrees below them, links as links.
void DeleteSubkeys(HKEY key, const std::string& path) {
    for (;;) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return;
        RegLink link;
        if (CheckLinkAt(key, name, link) == LinkCheck::Link) {
            Check(DeleteLinkAt(key, name), "deleting the link " + path + "\\" + name);
            continue;
        }
        HKEY child = nullptr;
        Check(RegOpenKeyExA(key, name, 0, KEY_ALL_ACCESS, &child), "RegOpenKeyExA " + path + "\\" + name);
        {
            OpenKey open(child);
            DeleteSubkeys(child, path + "\\" + name);
        }
        Check(RegDeleteKeyA(key, name), "RegDeleteKeyA " + path + "\\" + name);
    }
}

// The current user's SID: HKEY_CURRENT_USER is \Registry\User\<SID>.
std::string CurrentUserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) throw HelperError("OpenProcessToken failed");
    image::Bytes user(256);
    DWORD size = 0;
    const bool read = GetTokenInformation(token, TokenUser, user.data(), static_cast<DWORD>(user.size()), &size);
    CloseHandle(token);
    char* text = nullptr;
    if (!read || !ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &text))
        throw HelperError("cannot read the current user's SID");
    const std::string sid = text;
    LocalFree(text);
    return sid;
}

// "HKEY_LOCAL_MACHINE\\X" -> "\\Registry\\Machine\\X", as a link's target is stored.
std::wstring RegistryName(const std::string& path) {
    const auto slash = path.find('\\');
    const char* stored = image::CanonicalRoot(path.substr(0, slash));
    if (!stored) throw HelperError("unknown root key in \"" + path + "\"");
    std::string name = stored + (slash == std::string::npos ? "" : path.substr(slash));
    const std::pair<const char*, std::string> roots[] = {
        {"HKEY_LOCAL_MACHINE", "\\Registry\\Machine"},
        {"HKEY_USERS", "\\Registry\\User"},
        {"HKEY_CURRENT_USER", "\\Registry\\User\\" + CurrentUserSid()},
    };
    for (const auto& [root, native] : roots)
        if (image::EqualsIgnoreCase(name.substr(0, name.find('\\')), root)) {
            name = native + name.substr(std::string(root).size());
            break;
        }
    return std::wstring(name.begin(), name.end());
}

}  // namespace

KeyLocation LocateKey(const std::string& path) {
    static const std::pair<const char*, HKEY> kRoots[] = {
        {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKEY_USERS", HKEY_USERS},
    };
    const char* stored = image::CanonicalRoot(path.substr(0, path.find('\\')));
    if (!stored) throw HelperError("unknown root key in \"" + path + "\"");
    const std::string rooted = stored + path.substr(std::min(path.find('\\'), path.size()));
    const auto slash = rooted.find('\\');
    for (const auto& [name, root] : kRoots)
        if (image::EqualsIgnoreCase(rooted.substr(0, slash), name))
            return {root, slash == std::string::npos ? "" : rooted.substr(slash + 1)};
    throw HelperError("unknown root key in \"" + path + "\"");
}

void EnablePrivilege(const char* name) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        throw HelperError("OpenProcessToken failed");
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    const bool ok = LookupPrivilegeValueA(nullptr, name, &privileges.Privileges[0].Luid) &&
                    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                    GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    if (!ok) throw HelperError(std::string("cannot enable ") + name);
}

void ApplyRegistryKeys(const image::RegistryKeys& keys,
                       const std::function<KeyLocation(const std::string&)>& locate) {
    for (const image::RegistryKey& key : keys) {
        const KeyLocation location = locate(key.path);
        if (key.deleted) {
            DeleteKeyTree(location);
            continue;
        }
        OpenKey open(CreateKey(location));
        for (const image::RegistryValue& value : key.values) {
            if (value.deleted) {
                const LONG status = RegDeleteValueA(open.get(), value.name.c_str());
                if (status != ERROR_FILE_NOT_FOUND) Check(status, "RegDeleteValueA " + key.path);
            } else {
                Check(RegSetValueExA(open.get(), value.name.c_str(), 0, value.type, value.data.data(),
                                     static_cast<DWORD>(value.data.size())),
                      "RegSetValueExA " + key.path + " " + value.name);
            }
        }
    }
}

bool DumpKeyTree(const KeyLocation& location, const std::string& reportedPath, const std::string& hive,
                 RegistryRead& out) {
    HKEY key = nullptr;
    const LONG status = RegOpenKeyExA(location.root, location.subKey.c_str(), 0, KEY_READ, &key);
    if (status == ERROR_FILE_NOT_FOUND) return false;
    Check(status, "RegOpenKeyExA " + reportedPath);
    OpenKey open(key);
    DumpOpenKey(key, reportedPath, hive, out);
    return true;
}

void DeleteKeyTree(const KeyLocation& location) {
    HKEY key = nullptr;
    const LONG status = RegOpenKeyExA(location.root, location.subKey.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (status == ERROR_FILE_NOT_FOUND) return;
    Check(status, "RegOpenKeyExA " + location.subKey);
    {
        OpenKey open(key);
        DeleteSubkeys(key, location.subKey);
    }
    Check(RegDeleteKeyA(location.root, location.subKey.c_str()), "RegDeleteKeyA " + location.subKey);
}

void CreateLink(const KeyLocation& location, const std::string& target) {
    const auto slash = location.subKey.rfind('\\');
    if (slash != std::string::npos) RegCloseKey(CreateKey({location.root, location.subKey.substr(0, slash)}));
    HKEY link = nullptr;
    Check(RegCreateKeyExA(location.root, location.subKey.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS,
                          nullptr, &link, nullptr),
          "creating the link " + location.subKey);
    OpenKey open(link);
    const std::wstring name = RegistryName(target);
    Check(RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(name.data()),
                         static_cast<DWORD>(name.size() * sizeof(wchar_t))),
          "setting the target of the link " + location.subKey);
}

image::Bytes ReadWholeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw HelperError("cannot open " + path);
    image::Bytes bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    const bool ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                    read == bytes.size();
    CloseHandle(file);
    if (!ok) throw HelperError("cannot read " + path);
    return bytes;
}

void WriteWholeFile(const std::string& path, const image::Bytes& bytes) {
    // A read-only file left by an earlier seeding is replaced all the same.
    if (PathExists(path)) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw HelperError("cannot create " + path);
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    if (!ok) throw HelperError("cannot write " + path);
}

void CreateFolders(const std::string& path) {
    for (std::size_t slash = path.find('\\', 3); ; slash = path.find('\\', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            throw HelperError("cannot create folder " + folder);
        if (slash == std::string::npos) break;
    }
}

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int RunHelper(int argc, char** argv, const char* name, const std::vector<const char*>& parameters,
              const std::function<void(char** arguments)>& body) {
    if (argc != static_cast<int>(parameters.size()) + 1) {
        std::string usage = std::string("usage: ") + name;
        for (const char* parameter : parameters) usage += std::string(" ") + parameter;
        std::fprintf(stderr, "%s\n", usage.c_str());
        return 64;
    }
    try {
        body(argv + 1);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", name, error.what());
        return 1;
    }
    return 0;
}

}  // namespace purgent::e2e
