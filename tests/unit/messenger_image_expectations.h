#pragma once
// What a run must leave of tests/data/messenger: the files, folders, keys
// (each with its subtree) and values listed in its expected-gone.txt are
// gone, and everything else the image holds stays as it was. Values are
// listed as "<key>|<name>", the keys of a profile's hive file behind the
// profile's name ("ann:HKEY_CURRENT_USER\..."). Shared by the simulator test
// and the Wine test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files_image_expectations.h"

namespace purgent::messenger {

inline const std::string kImage = std::string(PURGENT_TEST_DATA) + "/messenger";
// The client stays: only the Messenger phases run.
inline const std::vector<std::string> kPurgentArgs = {"/sn", "/kc"};

inline bool Within(const std::string& path, const std::string& tree) {
    return path.size() >= tree.size() && image::EqualsIgnoreCase(path.substr(0, tree.size()), tree) &&
           (path.size() == tree.size() || path[tree.size()] == '\\');
}

inline bool UnderListed(const std::vector<std::string>& gone, const std::string& path) {
    for (const std::string& listed : gone)
        if (Within(path, listed)) return true;
    return false;
}

// The keys as the image writes them (a snapshot reads no implied parents);
// owner is "" for the machine, "<profile>:" for a hive file.
inline void ExpectRegistry(const image::RegistryKeys& before, const image::RegistryKeys& after,
                           const std::vector<std::string>& gone, const std::string& owner, const std::string& who) {
    for (const image::RegistryKey& key : before) {
        const image::RegistryKey* left = image::FindKey(after, key.path);
        if (UnderListed(gone, owner + key.path)) {
            EXPECT_EQ(left, nullptr) << who << ": still there: " << owner << key.path;
            continue;
        }
        ASSERT_NE(left, nullptr) << who << ": deleted: " << owner << key.path;
        for (const image::RegistryValue& value : key.values) {
            const image::RegistryValue* now = image::FindValue(*left, value.name);
            const std::string where = who + ": " + owner + key.path + "|" + value.name;
            if (files::Listed(gone, owner + key.path + "|" + value.name)) {
                EXPECT_EQ(now, nullptr) << where;
                continue;
            }
            ASSERT_NE(now, nullptr) << where;
            EXPECT_EQ(now->type, value.type) << where;
            EXPECT_EQ(now->data, value.data) << where;
        }
    }
}

inline std::string ProfileOf(const std::string& hivePath) {
    const std::string folder = hivePath.substr(0, hivePath.rfind('\\'));
    return folder.substr(folder.rfind('\\') + 1);
}

inline void ExpectCleaned(const image::MachineImage& seeded, const image::MachineImage& cleaned,
                          const std::string& who) {
    const std::vector<std::string> gone = files::ExpectedGone(kImage);
    ASSERT_FALSE(gone.empty());
    ExpectRegistry(seeded.registry, cleaned.registry, gone, "", who);
    for (const image::DriveItem& item : seeded.drive) {
        const image::DriveItem* left = image::FindDriveItem(cleaned.drive, item.path);
        if (files::Listed(gone, item.path)) {
            EXPECT_EQ(left, nullptr) << who << ": still there: " << item.path;
            continue;
        }
        ASSERT_NE(left, nullptr) << who << ": deleted: " << item.path;
        EXPECT_EQ(files::AttributesOf(cleaned, item.path), files::AttributesOf(seeded, item.path)) << item.path;
        if (!image::IsHiveFile(item)) {
            EXPECT_EQ(left->contents, item.contents) << who << ": " << item.path;
            continue;
        }
        ExpectRegistry(image::ParseHiveText(item.contents, item.path), image::ParseHiveText(left->contents, item.path),
                       gone, ProfileOf(item.path) + ":", who);
    }
}

}  // namespace purgent::messenger
