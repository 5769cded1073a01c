#pragma once
// What the .reg reader and writer agree on.
#include <cstdint>
#include <string>

namespace purgent::image {

constexpr const char* kRegHeader = "Windows Registry Editor Version 5.00";

constexpr std::uint32_t RegSzType = 1;
constexpr std::uint32_t RegExpandSzType = 2;
constexpr std::uint32_t RegBinaryType = 3;
constexpr std::uint32_t RegDwordType = 4;
constexpr std::uint32_t RegMultiSzType = 7;

// Types whose data regedit writes as UTF-16LE in hex(N): lists.
inline bool IsStringType(std::uint32_t type) {
    return type == RegSzType || type == RegExpandSzType || type == RegMultiSzType;
}

// The stored spelling of a root key name (long or short form, any case);
// HKEY_CLASSES_ROOT is the machine's Software\Classes. nullptr if unknown.
const char* CanonicalRoot(const std::string& name);

}  // namespace purgent::image
