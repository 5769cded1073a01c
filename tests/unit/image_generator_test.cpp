#include <gtest/gtest.h>

#include <filesystem>

#include "image_generator.h"
#include "purgent_sim/run_purgent.h"
#include "scratch_folder.h"

namespace purgent::generator {
namespace {

using image::MachineImage;
using image::RegistryKeys;

MachineImage Cleaned(const MachineImage& image) {
    sim::SimMachine machine(image);
    sim::RunPurgentOnSim(machine, {"/sn"});
    return machine.SaveImage();
}

RegistryKeys HiveKeys(const MachineImage& image, const std::string& path) {
    const image::DriveItem* hive = image::FindDriveItem(image.drive, path);
    return hive ? image::ParseHiveText(hive->contents, path) : RegistryKeys{};
}

RegistryKeys Joined(RegistryKeys first, const RegistryKeys& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// Saved and read back, the generated image is the footprint with bulk on top;
// a run on it removes what a run on the footprint removes, in the footprint
// and in every added hive, and leaves all the bulk.
TEST(ImageGenerator, OutputLoadsAndARunRemovesOnlyTheClientsFootprint) {
    const ImageSizes sizes{3, 20, 40, 60};
    const MachineImage footprint = image::LoadMachineImage(PURGENT_DEMO_IMAGE);
    const purgent::testing::ScratchFolder saved("purgent-generated");
    image::SaveMachineImage(GenerateImage(footprint, sizes), saved.Path().string());
    const MachineImage generated = image::LoadMachineImage(saved.Path().string());

    const MachineImage cleanedFootprint = Cleaned(footprint);
    const MachineImage cleaned = Cleaned(generated);
    const RegistryKeys added(generated.registry.begin() + footprint.registry.size(), generated.registry.end());
    EXPECT_TRUE(image::SameRegistry(cleaned.registry, Joined(cleanedFootprint.registry, added)));

    const std::string templateHive = TemplateHive(footprint).path;
    const RegistryKeys cleanedTemplate = HiveKeys(cleanedFootprint, templateHive);
    for (int profile = 0; profile < sizes.profiles; ++profile) {
        const std::string hive = ProfileFolder(profile) + "\\ntuser.dat";
        const RegistryKeys bulk = ProfileBulkKeys(sizes, profile);
        EXPECT_FALSE(image::SameRegistry(HiveKeys(generated, hive), Joined(cleanedTemplate, bulk))) << hive;
        EXPECT_TRUE(image::SameRegistry(HiveKeys(cleaned, hive), Joined(cleanedTemplate, bulk))) << hive;
    }
    EXPECT_EQ(cleaned.drive.size(), cleanedFootprint.drive.size() + 2 * sizes.profiles);
    for (const image::DriveItem& item : cleanedFootprint.drive) {
        const image::DriveItem* kept = image::FindDriveItem(cleaned.drive, item.path);
        ASSERT_NE(kept, nullptr) << item.path;
        EXPECT_EQ(kept->contents, item.contents) << item.path;
    }
}

}  // namespace
}  // namespace purgent::generator
