// The whole program on the simulated workstation of tests/data/machinewide.
#include <gtest/gtest.h>

#include <algorithm>

#include "machinewide_image_expectations.h"
#include "purgent_sim/run_purgent.h"

namespace purgent::machinewide {
namespace {

const std::string kImage = std::string(PURGENT_TEST_DATA) + "/machinewide";

TEST(MachinewideImage, ClientTracesGoOtherRegistrationsStayByteForByte) {
    const image::MachineImage seeded = image::LoadMachineImage(kImage);
    sim::SimMachine machine(seeded);
    EXPECT_EQ(sim::RunPurgentOnSim(machine, kPurgentArgs), 0);
    ExpectCleaned(seeded.registry, machine.SaveImage().registry, "sim");
}

bool Traced(sim::SimMachine& machine, const std::string& line) {
    const std::vector<std::string>& lines = machine.Trace().Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The image with the key's default stored as a REG_DWORD.
image::MachineImage WithDwordDefault(const std::string& path) {
    image::MachineImage machine = image::LoadMachineImage(kImage);
    for (image::RegistryKey& key : machine.registry) {
        if (!image::EqualsIgnoreCase(key.path, path)) continue;
        for (image::RegistryValue& value : key.values)
            if (value.name.empty()) value = image::RegistryValue{"", 4, {1, 0, 0, 0}};
    }
    return machine;
}

TEST(MachinewideImage, NonStringDefaultStopsTheRunWithTheErrorBoxOutsideTheClassesRoot) {
    sim::SimMachine machine(WithDwordDefault(R"(HKEY_LOCAL_MACHINE\SOFTWARE\Clients\News)"));
    sim::RunPurgentOnSim(machine, kPurgentArgs);
    EXPECT_TRUE(Traced(machine, "error\tInvalid data type for ''."));
    EXPECT_FALSE(Traced(machine, "phase\tDone"));
    // The MAPI step after the handlers was not reached.
    const image::RegistryKeys after = machine.SaveImage().registry;
    EXPECT_NE(
        image::FindValue(
            *image::FindKey(
                after, R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows Messaging Subsystem\MSMapiApps)"),
            "grpwise.exe"),
        nullptr);
}

TEST(MachinewideImage, NonStringDefaultInTheClassesRootEndsOnlyThatCatalogue) {
    // The handler keys of the classes root are read before, through
    // HKEY_LOCAL_MACHINE; the contact file type is read here only.
    sim::SimMachine machine(WithDwordDefault(R"(HKEY_LOCAL_MACHINE\SOFTWARE\Classes\.vcf)"));
    EXPECT_EQ(sim::RunPurgentOnSim(machine, kPurgentArgs), 0);
    EXPECT_TRUE(Traced(machine, "phase\tDone"));
    for (const std::string& line : machine.Trace().Lines()) EXPECT_NE(line.rfind("error\t", 0), 0u) << line;
    const image::RegistryKeys after = machine.SaveImage().registry;
    EXPECT_NE(
        image::FindKey(after,
                       R"(HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{4D4998C1-13FF-46D0-9B4A-782D3C49E248})"),
        nullptr);
}

}  // namespace
}  // namespace purgent::machinewide
