#include "platform/sim/sim_machine.h"

#include "platform/sim/sim_names.h"

namespace purgent::sim {

SimMachine::SimMachine(const image::MachineImage& image)
    : machine_(image.machine),
      drive_(image.drive, machine_),
      registry_(drive_, machine_.machine.restorePrivilege),
      files_(drive_, registry_),
      // regsvr32 is another program: the keys it deletes are no calls of
      // Purgent's, so they are recorded here, after its launch.
      regsvr_(drive_, registry_, machine_.dlls,
              [this](const std::string& key) { trace_.Event("reg-delete-key", {key}); }),
      environment_(machine_.machine, registry_),
      programs_(drive_, environment_, regsvr_),
      processes_(machine_),
      windows_(processes_.Tasks()),
      platform_{environment_, registry_, messages_, cursor_, programs_, processes_, windows_, text_, files_},
      preview_(platform_),
      recorded_(preview_.Get(), trace_) {
    preview_.State().note = [this](const std::string& line) { trace_.Note(line); };
    registry_.Load(image.registry);
    for (const std::string& key : machine_.denied) registry_.Deny(key);
    registry_.AddLinks(machine_.registryLinks);
}

void SimMachine::CutAfter(std::size_t changes) {
    trace_.CutAfter(changes, [] { throw SimProcessExit{ExitKilled}; });
}

image::MachineImage SimMachine::SaveImage() const {
    image::MachineImage image;
    image.registry = registry_.Keys();
    // A run unloads what it mounts, unless it is cut before: then the hive
    // stays mounted, as after a kill, and holds the run's changes in its file
    // too, as Windows writes a loaded hive back by itself.
    if (trace_.Cut()) {
        const image::RegistryKeys mounted = registry_.MountedHiveKeys();
        image.registry.insert(image.registry.end(), mounted.begin(), mounted.end());
    }
    image.machine = machine_;
    image.machine.attributes = drive_.AttributeList();
    // The tasks follow the image's sections one to one: what the run ended
    // or closed is no longer there.
    const SimTasks& tasks = processes_.Tasks();
    image.machine.processes.clear();
    for (std::size_t i = 0; i < machine_.processes.size(); ++i)
        if (tasks.processes[i].running) image.machine.processes.push_back(machine_.processes[i]);
    image.machine.windows.clear();
    for (std::size_t i = 0; i < machine_.windows.size(); ++i)
        if (tasks.windows[i].open) image.machine.windows.push_back(machine_.windows[i]);
    image.machine.reparsePoints = drive_.ReparsePoints();
    image.machine.registryLinks = registry_.Links();
    image.drive = drive_.Items();
    for (const image::DriveItem& hive : registry_.MountedHiveFiles())
        for (image::DriveItem& item : image.drive)
            if (SameName(item.path, hive.path)) item.contents = hive.contents;
    image::ForgetDeletedFiles(image.machine, image.drive);
    return image;
}

}  // namespace purgent::sim
