#pragma once
// The registry as the run would leave it, on a machine nothing is changed
// on: every read goes to the machine's own registry, every deletion and
// change is kept here, and later reads see them (a key deleted earlier is
// gone for a later enumeration). Keys are opened as the run opens them, with
// full access, so a key Windows protects is refused here as it would be.
// A user hive the run mounts is mounted under a name of the preview's own
// and unloaded as it was found, never written; a mount the run unloads that
// the preview did not make stays loaded and is gone only here.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/preview/preview_state.h"
#include "platform/registry_service.h"

namespace purgent {

class PreviewRegistry final : public RegistryService {
public:
    PreviewRegistry(RegistryService& real, PreviewState& state) : real_(real), state_(state) {}

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
    // A link the run meets is captured as one, unless Windows keeps it.
    LinkCheck CheckLink(RegKey base, const std::string& subKey, RegLink& link) override;
    long OpenAsLink(RegKey base, const std::string& subKey, RegKey& opened) override;
    bool IsLink(RegKey key, RegLink& link) override;
    long DeleteLink(RegKey base, const std::string& subKey) override;
    long DeleteValue(RegKey key, const std::string& name) override;
    long LoadKey(RegKey root, const std::string& name, const std::string& file) override;
    long UnLoadKey(RegKey root, const std::string& name) override;
    long UnLoadKeyUnchanged(RegKey root, const std::string& name) override { return UnLoadKey(root, name); }
    std::string KeyPath(RegKey base, const std::string& subKey) override;
    bool EnableRestorePrivilege() override;

    // The name under HKEY_USERS the preview mounts a user hive as.
    static constexpr const char* MountName = "Purgent.Preview";

private:
    struct SetValueData {
        std::string name;
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
    };

    // The run's subkey below HKEY_USERS as the preview holds it (its own mount name).
    std::string RealSubKey(RegKey base, const std::string& subKey) const;
    // A real key path in the run's names ("" stays "").
    std::string RunPath(const std::string& realPath) const;
    std::string PathOf(RegKey key, const std::string& subKey);
    bool Gone(const std::string& path) const;  // deleted here, or below a key deleted here
    const std::vector<std::string>& Subkeys(RegKey key);
    const std::vector<std::string>& ValueNames(RegKey key);
    void Changed() { subkeys_.clear(); values_.clear(); }
    // The path a capture names a key by: the run's own, where the machine
    // names it otherwise (the current user's hive asked for below
    // HKEY_USERS\\<SID> is HKEY_CURRENT_USER to Windows; an image holds the two apart).
    std::string CapturePath(RegKey base, const std::string& subKey, const std::string& path) const;
    void Capture(RegKey key, const std::string& path);
    void CaptureLink(const std::string& path, const RegLink& link);
    // What an open of the run's leaves: a key opened is captured with its
    // values, one Windows refuses is captured as protected.
    void Opened(RegKey base, const std::string& subKey, const std::string& path, long result, RegKey opened);
    void ForgetBelow(const std::string& path);

    RegistryService& real_;
    PreviewState& state_;
    std::set<std::string> deletedKeys_;                                        // folded run paths
    std::map<std::string, std::set<std::string>> deletedValues_;               // folded key -> folded names
    std::map<std::string, std::map<std::string, SetValueData>> setValues_;     // folded key -> folded name
    std::map<RegKey, std::vector<std::string>> subkeys_, values_;             // by open key, as the run sees them
    std::map<RegKey, std::string> runPaths_;  // open keys the capture names otherwise
    std::string mountedAs_;  // the run's name of the hive the preview holds mounted, "" when none
};

}  // namespace purgent
