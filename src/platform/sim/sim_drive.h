#pragma once
#include <map>
#include <string>

#include "image/machine_image.h"

namespace purgent::sim {

// The files and folders of the simulated drives, found by full Windows path
// in any case.
class SimDrive {
public:
    explicit SimDrive(const image::DriveItems& items);

    const image::DriveItem* Find(const std::string& path) const;
    bool FileExists(const std::string& path) const;
    // Replaces the contents of an existing file; false when there is none.
    bool WriteFile(const std::string& path, const std::string& contents);

    // Every item, each folder before what it holds.
    image::DriveItems Items() const;

private:
    std::map<std::string, image::DriveItem> items_;   // by folded path
};

}  // namespace purgent::sim
