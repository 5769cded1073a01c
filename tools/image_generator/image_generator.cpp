#include "image_generator.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>

#include "image/ansi_text.h"

namespace purgent::generator {
namespace {

using image::RegistryKey;
using image::RegistryKeys;
using image::RegistryValue;

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegDword = 4;
constexpr int kProducts = 500;   // other products that own the components
constexpr const char* kComponents =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Components\\";
constexpr const char* kProfileList = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\";

// splitmix64: the same numbers on every run and platform.
std::uint64_t Mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// 32 upper-case hex digits, as the installer writes packed GUIDs.
std::string PackedGuid(std::uint64_t seed) {
    char text[33];
    std::snprintf(text, sizeof text, "%016llX%016llX", static_cast<unsigned long long>(Mix(seed)),
                  static_cast<unsigned long long>(Mix(seed ^ 0xA5A5A5A5ull)));
    return text;
}

std::string Numbered(const char* format, int number) {
    char text[64];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

RegistryValue Text(const std::string& name, const std::string& text, std::uint32_t type = kRegSz) {
    RegistryValue value{name, type, image::Bytes(text.begin(), text.end()), false};
    value.data.push_back(0);
    return value;
}

RegistryValue Number(const std::string& name, std::uint32_t number) {
    return {name, kRegDword, {std::uint8_t(number), std::uint8_t(number >> 8), std::uint8_t(number >> 16),
                              std::uint8_t(number >> 24)}, false};
}

std::string ProductFolder(int product) { return Numbered("C:\\Program Files\\Bulk Product %03d\\", product); }

// One component shared by one to three products, each value naming its file.
RegistryKey Component(int index) {
    RegistryKey key{kComponents + PackedGuid(0xC0000000ull + index), {}, false};
    const int owners = 1 + static_cast<int>(Mix(index) % 3);
    for (int owner = 0; owner < owners; ++owner) {
        const int product = static_cast<int>((index + owner * 97) % kProducts);
        key.values.push_back(Text(PackedGuid(0xB0000000ull + product),
                                  ProductFolder(product) + Numbered("file%05d.dll", index)));
    }
    return key;
}

// Every fourth one a COM class, the rest a product's own key.
RegistryKey MachineKey(int index) {
    if (index % 4 == 0) {
        const std::string guid = PackedGuid(0xD0000000ull + index);
        const std::string clsid = "{" + guid.substr(0, 8) + "-" + guid.substr(8, 4) + "-" + guid.substr(12, 4) +
                                  "-" + guid.substr(16, 4) + "-" + guid.substr(20) + "}";
        return {"HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\" + clsid + "\\InprocServer32",
                {Text("", ProductFolder(index % kProducts) + Numbered("server%05d.dll", index)),
                 Text("ThreadingModel", "Apartment")},
                false};
    }
    return {Numbered("HKEY_LOCAL_MACHINE\\SOFTWARE\\Bulk Vendor %03d\\", index % 97) + Numbered("Product %05d", index),
            {Text("InstallDir", ProductFolder(index % kProducts)), Number("Version", index)},
            false};
}

std::string ProfileName(int profile) { return Numbered("bulkuser%03d", profile); }

RegistryKey ProfileListEntry(int profile) {
    return {kProfileList + Numbered("S-1-5-21-3623811015-3361044348-30300820-%d", 5000 + profile),
            {Text("ProfileImagePath", "%SystemDrive%\\Documents and Settings\\" + ProfileName(profile), kRegExpandSz),
             Number("Flags", 0)},
            false};
}

}  // namespace

std::string ProfileFolder(int profile) { return "C:\\Documents and Settings\\" + ProfileName(profile); }

RegistryKeys BystanderKeys(const ImageSizes& sizes) {
    RegistryKeys keys;
    for (int index = 0; index < sizes.bystanderKeys; ++index) keys.push_back(MachineKey(index));
    for (int index = 0; index < sizes.components; ++index) keys.push_back(Component(index));
    return keys;
}

RegistryKeys ProfileBulkKeys(const ImageSizes& sizes, int profile) {
    RegistryKeys keys;
    for (int index = 0; index < sizes.keysPerHive; ++index)
        keys.push_back({Numbered("HKEY_CURRENT_USER\\Software\\Bulk Vendor %03d\\", index % 31) +
                            Numbered("Application %05d", index),
                        {Text("LastUser", ProfileName(profile)), Number("WindowLeft", index)},
                        false});
    return keys;
}

const image::DriveItem& TemplateHive(const image::MachineImage& footprint) {
    for (const image::DriveItem& item : footprint.drive) {
        const auto& locked = footprint.machine.locked;
        const bool inUse = std::any_of(locked.begin(), locked.end(),
                                       [&](const std::string& path) { return image::EqualsIgnoreCase(path, item.path); });
        if (image::IsHiveFile(item) && !inUse) return item;
    }
    throw image::ImageError("the footprint image has no user hive that is not in use");
}

image::MachineImage GenerateImage(image::MachineImage footprint, const ImageSizes& sizes) {
    RegistryKeys bystanders = BystanderKeys(sizes);
    footprint.registry.insert(footprint.registry.end(), std::make_move_iterator(bystanders.begin()),
                              std::make_move_iterator(bystanders.end()));
    if (sizes.profiles == 0) return footprint;
    const image::DriveItem& source = TemplateHive(footprint);
    const RegistryKeys clientHive = image::ParseHiveText(source.contents, source.path);
    for (int profile = 0; profile < sizes.profiles; ++profile) {
        footprint.registry.push_back(ProfileListEntry(profile));
        RegistryKeys hive = clientHive;
        RegistryKeys bulk = ProfileBulkKeys(sizes, profile);
        hive.insert(hive.end(), std::make_move_iterator(bulk.begin()), std::make_move_iterator(bulk.end()));
        const std::string folder = ProfileFolder(profile);
        const std::string text = image::WriteRegText(hive);
        footprint.drive.push_back({folder, true, {}});
        footprint.drive.push_back({folder + "\\ntuser.dat", false, image::Bytes(text.begin(), text.end())});
    }
    return footprint;
}

}  // namespace purgent::generator
