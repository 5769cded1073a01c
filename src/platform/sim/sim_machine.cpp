#include "platform/sim/sim_machine.h"

#include "platform/sim/sim_names.h"

namespace purgent::sim {

SimMachine::SimMachine(image::MachineImage image)
    : machine_(std::move(image.machine)),
      drive_(image.drive, machine_),
      files_(drive_, trace_),
      registry_(trace_, drive_, machine_.machine.restorePrivilege),
      regsvr_(drive_, registry_, machine_.dlls),
      environment_(machine_.machine, trace_),
      messages_(trace_),
      programs_(drive_, environment_, regsvr_, trace_),
      processes_(machine_, trace_),
      windows_(processes_.Tasks(), trace_),
      platform_{environment_, registry_, messages_, cursor_, programs_, processes_, windows_, text_, files_} {
    registry_.Load(image.registry);
    for (const std::string& key : machine_.denied) registry_.Deny(key);
}

image::MachineImage SimMachine::SaveImage() const {
    image::MachineImage image;
    image.registry = registry_.Keys();
    image.machine = machine_;
    image.machine.attributes = drive_.AttributeList();
    image.drive = drive_.Items();
    for (const image::DriveItem& hive : registry_.MountedHiveFiles())
        for (image::DriveItem& item : image.drive)
            if (SameName(item.path, hive.path)) item.contents = hive.contents;
    return image;
}

}  // namespace purgent::sim
