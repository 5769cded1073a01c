#pragma once
// A simulated workstation with the accessor and a run context on top, for the
// accessor, discovery and catalogue tests: keys from .reg text, hive files in
// the drive tree.
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "run/run_context.h"
#include "run/status_reporter.h"
#include "image/machine_image.h"
#include "platform/sim/sim_machine.h"
#include "files/file_access.h"
#include "registry/registry_access.h"

namespace purgent::testing {

// Remembers what the status bar showed, in order.
class RecordingStatusView : public StatusView {
public:
    void SetPanelText(int panel, const std::string& text) override {
        if (panel == 1 && !failOn.empty() && text.find(failOn) != std::string::npos)
            throw std::runtime_error("cannot show " + text);
        if (panel == 1) items.push_back(text);
    }
    void RepaintStatus() override { ++repaints; }
    void SetProgress(int position, int) override { positions.push_back(position); }
    void UpdateApplicationField() override { ++applicationFieldUpdates; }

    std::vector<std::string> items;
    std::vector<int> positions;
    int repaints = 0;
    int applicationFieldUpdates = 0;
    // An item holding this text fails to show: an error in the middle of a phase.
    std::string failOn;
};

class CheckedOptions : public RunOptions {
public:
    bool Checked(Option option) const override { return checked.count(option) != 0; }
    const std::string& LaunchCommand() const override { return launchCommand; }
    std::set<Option> checked{Option::Client, Option::Messenger, Option::DeleteFiles,
                             Option::DeleteRegistry};
    std::string launchCommand;
};

inline image::Bytes TextBytes(const std::string& text) { return image::Bytes(text.begin(), text.end()); }

inline image::RegistryKeys RegText(const std::string& text) {
    return image::ParseRegText(TextBytes("Windows Registry Editor Version 5.00\n\n" + text), "test.reg");
}

inline std::string ProfileFolder(const std::string& profile) {
    return "C:\\Documents and Settings\\" + profile;
}

// A profile folder holding a hive file with these HKEY_CURRENT_USER keys.
inline image::DriveItems HiveFile(const std::string& profile, const std::string& regText) {
    return {{ProfileFolder(profile), true, {}},
            {ProfileFolder(profile) + "\\ntuser.dat", false,
             TextBytes("Windows Registry Editor Version 5.00\n\n" + regText)}};
}

inline image::MachineImage ImageOf(const std::string& regText, const std::vector<image::DriveItems>& hives = {}) {
    image::MachineImage image;
    image.registry = RegText(regText);
    image.drive.push_back({"C:\\Documents and Settings", true, {}});
    for (const image::DriveItems& hive : hives) image.drive.insert(image.drive.end(), hive.begin(), hive.end());
    return image;
}

struct RegistryTestMachine {
    explicit RegistryTestMachine(image::MachineImage image) : machine(std::move(image)) {}
    explicit RegistryTestMachine(const std::string& regText, const std::vector<image::DriveItems>& hives = {})
        : machine(ImageOf(regText, hives)) {}

    // The registry as it now stands.
    image::RegistryKeys Saved() const { return machine.SaveImage().registry; }
    bool HasKey(const std::string& path) const { return image::FindKey(Saved(), path) != nullptr; }
    // The data of a string value, "<absent>" when there is none.
    std::string StringValue(const std::string& path, const std::string& name) const {
        return StringIn(Saved(), path, name);
    }
    static std::string StringIn(const image::RegistryKeys& keys, const std::string& path, const std::string& name) {
        const image::RegistryKey* key = image::FindKey(keys, path);
        const image::RegistryValue* value = key ? image::FindValue(*key, name) : nullptr;
        if (!value) return "<absent>";
        const std::string text(value->data.begin(), value->data.end());
        return text.substr(0, text.find('\0'));
    }
    // The keys of a profile's hive file as it now stands on the drive.
    image::RegistryKeys HiveKeys(const std::string& profile) const {
        const image::MachineImage saved = machine.SaveImage();
        const image::DriveItem* file = image::FindDriveItem(saved.drive, ProfileFolder(profile) + "\\ntuser.dat");
        return image::NetRegistry(image::ParseHiveText(file->contents, profile));
    }
    std::vector<std::string> TraceEvents(const std::string& name) {
        std::vector<std::string> found;
        for (const std::string& line : machine.Trace().Lines())
            if (line.compare(0, name.size() + 1, name + "\t") == 0) found.push_back(line.substr(name.size() + 1));
        return found;
    }

    sim::SimMachine machine;
    RecordingStatusView view;
    StatusReporter status{view, machine.GetPlatform().cursor};
    RegistryAccess access{machine.GetPlatform().registry, status, machine.GetPlatform().environment};
    FileAccess files{machine.GetPlatform(), status};
    CheckedOptions options;
    ProcessState process;
    RunContext ctx{machine.GetPlatform(), status, access, files, options, process, {}, {}, {}};
};

}  // namespace purgent::testing
