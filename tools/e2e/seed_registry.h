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

// The key at location and its whole subtree, listed under reportedPath;
// false when the key does not exist.
bool DumpKeyTree(const KeyLocation& location, const std::string& reportedPath,
                 image::RegistryKeys& out);

void DeleteKeyTree(const KeyLocation& location);   // absent is fine

image::Bytes ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const image::Bytes& bytes);
void CreateFolders(const std::string& path);       // the folder and its parents
bool PathExists(const std::string& path);

// main() of a helper: checks the argument count (usage error: 64), runs body
// (any failure: message on stderr, 1), else 0.
int RunHelper(int argc, char** argv, const char* name, const std::vector<const char*>& parameters,
              const std::function<void(char** arguments)>& body);

}  // namespace purgent::e2e
