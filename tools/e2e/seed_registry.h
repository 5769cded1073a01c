#pragma once
// Registry and file helpers shared by seed.exe and snapshot.exe.
#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "image/machine_image.h"

namespace purgent::e2e {

// A failed step of a helper; main() prints it and exits with status 1.
class HelperError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct KeyLocation {
    HKEY root;
    std::string subKey;   // "" = the root itself
};

// "HKEY_LOCAL_MACHINE\\Software\\X" -> {HKEY_LOCAL_MACHINE, "Software\\X"}.
KeyLocation LocateKey(const std::string& path);

// SeBackupPrivilege (RegSaveKey), SeRestorePrivilege (RegLoadKey).
void EnablePrivilege(const char* name);

// Writes a .reg document into the registry; locate maps each key path.
void ApplyRegistryKeys(const image::RegistryKeys& keys,
                       const std::function<KeyLocation(const std::string&)>& locate);

// What a dump read: keys, and the link keys among them, each with its
// target (root spelled out) and the hive file a hive's dump is of.
struct RegistryRead {
    image::RegistryKeys keys;
    std::vector<image::RegistryLink> links;
};

// The key at location and its whole subtree, listed under reportedPath; a
// link key is read as a link, never followed. False when the key does not
// exist.
bool DumpKeyTree(const KeyLocation& location, const std::string& reportedPath, const std::string& hive,
                 RegistryRead& out);

// The key and its subtree; a link key in it goes as a link (RegDeleteTreeA
// would follow it and delete its target's subtree). Absent is fine.
void DeleteKeyTree(const KeyLocation& location);

// A link key at location leading to target (a full key path, root spelled
// out), as REG_OPTION_CREATE_LINK makes one; its parents are created.
void CreateLink(const KeyLocation& location, const std::string& target);

image::Bytes ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const image::Bytes& bytes);
void CreateFolders(const std::string& path);       // the folder and its parents
bool PathExists(const std::string& path);

// main() of a helper: checks the argument count (usage error: 64), runs body
// (any failure: message on stderr, 1), else 0.
int RunHelper(int argc, char** argv, const char* name, const std::vector<const char*>& parameters,
              const std::function<void(char** arguments)>& body);

}  // namespace purgent::e2e
