#pragma once
#include <map>

#include "platform/registry_service.h"

namespace purgent {

// The Win32 registry, passed through call by call; only the unload of a hive
// does more, under Wine (see UnLoadKey).
class Win32RegistryService : public RegistryService {
public:
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
    // RegOpenKeyExA with KEY_ALL_ACCESS and these options.
    long OpenWith(RegKey base, const std::string& subKey, unsigned long options, RegKey& opened);

    // Under Wine, the file of every hive loaded through LoadKey, by key name:
    // the unload writes the hive back to it.
    std::map<std::string, std::string> hiveFiles_;
};

}  // namespace purgent
