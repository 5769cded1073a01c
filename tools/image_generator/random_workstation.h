#pragma once
// Random workstations for the differential check of the real program against
// the simulator: every kind of thing the program touches, drawn from the
// catalogue tables, each present or absent at random, with look-alike
// bystanders beside them. The same seed always gives the same image.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "image/machine_image.h"
#include "run/install_locations.h"
#include "workstation_builder.h"

namespace purgent::generator {

// Where the drawn workstation keeps things, as far as the later parts need.
struct Layout {
    InstallLocations locations;             // as the program will find them ("" when absent)
    std::string userProfileFolder;          // the current user's profile folder
    std::vector<std::string> profileNames;  // folder names under "Documents and Settings"
    std::vector<std::string> profileFolders;  // each one's own folder ("D:\\Profiles\\ann"), by position
    // Other users' desktop and programs folders, as their own hives name them.
    std::vector<std::pair<std::string, std::string>> otherUsersShellFolders;
    std::vector<KeySink> userHives;         // the current user first, then each hive file
    bool messenger = false;
};

// A path under a profile's "Documents and Settings" folder moved to the
// profile's own folder, where that is not reached through the former.
std::string AtOwnProfileFolder(const Layout& layout, std::size_t profile, const std::string& path);

// Profiles, shell folders, the logged-on user and the two program folders.
Layout AddLayout(WorkstationBuilder& builder);
// The machine-wide catalogues, HKEY_CLASSES_ROOT included.
void AddMachineRegistry(WorkstationBuilder& builder, const Layout& layout);
// The client's traces in one user's registry.
void AddUserRegistry(WorkstationBuilder& builder, const KeySink& user, bool messenger);
// Shortcuts, program, system, Office and Writing Tools files.
void AddClientFiles(WorkstationBuilder& builder, const Layout& layout);
// COM servers in the passes' folders and elsewhere, and Messenger's parts.
void AddComponents(WorkstationBuilder& builder, const Layout& layout);

// Links and App Paths that lead away from the client, and what lies there.
void AddLinks(WorkstationBuilder& builder, const Layout& layout);
// Link keys inside the client's keys: to another program's key, from a
// user's hive to a machine key, to itself or its parent, two to each other.
void AddRegistryLinks(WorkstationBuilder& builder, const Layout& layout);

// A name one letter off from name, or with the same prefix.
std::string LookAlike(RandomSource& random, const std::string& name);

struct RandomMachine {
    image::MachineImage image;
    // Users' and other programs' files that a run must keep, as the image names them.
    std::vector<std::string> bystanders;
};

RandomMachine RandomWorkstation(std::uint64_t seed);

}  // namespace purgent::generator
