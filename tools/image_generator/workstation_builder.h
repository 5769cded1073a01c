#pragma once
// Collects a generated workstation: registry keys, user hives, files with
// their attributes, held files, protected keys and COM servers, and writes
// them out as one machine image.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "image/machine_image.h"
#include "random_source.h"

namespace purgent::generator {

using Values = std::vector<image::RegistryValue>;

image::RegistryValue Text(const std::string& name, const std::string& text);
image::RegistryValue ExpandText(const std::string& name, const std::string& text);
image::RegistryValue Number(const std::string& name, std::uint32_t number);

// A place registry keys are written to: the machine's registry.reg or one
// user's hive, with the root its keys are written under.
struct KeySink {
    image::RegistryKeys* keys;
    std::string root;  // "HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_USERS\\.DEFAULT"
    std::string hive;  // the hive file a user's keys are in; "" for registry.reg
};

class WorkstationBuilder {
public:
    explicit WorkstationBuilder(std::uint64_t seed);

    RandomSource& Random() { return random_; }
    KeySink Machine() { return {&image_.registry, "HKEY_LOCAL_MACHINE", ""}; }
    KeySink CurrentUser() { return {&image_.registry, "HKEY_CURRENT_USER", ""}; }
    KeySink DefaultUser() { return {&image_.registry, "HKEY_USERS\\.DEFAULT", ""}; }
    // A logged-on user's hive, loaded under HKEY_USERS\<SID>.
    KeySink LoadedHive(const std::string& sid) { return {&image_.registry, "HKEY_USERS\\" + sid, ""}; }
    // The hive file of a profile folder, created empty when new.
    KeySink Hive(const std::string& hivePath);

    // A key below the sink's root (subPath starts with "\"), with values.
    void Key(const KeySink& sink, const std::string& subPath, Values values = {});
    // [-key] first: the machine starts without whatever it had there.
    void Cleared(const KeySink& sink, const std::string& subPath);
    // A value the program reads as text; now and then a DWORD instead.
    image::RegistryValue ReadText(const std::string& name, const std::string& text);
    // The key exists but cannot be opened with full access, now and then.
    void MaybeDenied(const KeySink& sink, const std::string& subPath);
    // A link key ([registry-link]) below the sink's root leading to target (a
    // full key path), unless a key or link drawn before is there already.
    void Link(const KeySink& sink, const std::string& subPath, const std::string& target);

    // A junction ([junction]): items made through link lie at target.
    void Junction(const std::string& link, const std::string& target);
    // A link ([reparse]) to a folder or a file: items made through link,
    // before it or after, lie at target in the finished image.
    void Link(const std::string& link, const std::string& target);
    // A file in use ([locked]).
    void Lock(const std::string& path) { image_.machine.locked.push_back(path); }

    void Folder(const std::string& path);
    // A file (its folders too) with now and then r/h/s attributes; held open
    // now and then when mayLock.
    void File(const std::string& path, bool mayLock = true);
    // A COM server: the file, its registration key and its [dll] section.
    void ComServer(const std::string& path);
    // Another program's or a user's file, which a run must keep (not held
    // open, no attributes drawn); listed among the bystanders.
    void Bystander(const std::string& path);
    // Every bystander, as the image names it.
    const std::vector<std::string>& Bystanders() const { return bystanders_; }

    image::MachineImage Finish();

private:
    static std::string Folded(const std::string& path);
    // A file with these contents (its folders too); false when it was there.
    bool AddFile(const std::string& path, const std::string& text);
    // The path where junctions and links lead, the outermost first.
    std::string ThroughLinks(const std::string& path) const;

    RandomSource random_;
    int wrongTypePercent_;
    int deniedPercent_;
    int attributePercent_;
    int lockedPercent_;
    image::MachineImage image_;
    std::map<std::string, image::DriveItem> items_;           // by folded path
    std::map<std::string, image::RegistryKeys> hives_;        // by folded path
    std::vector<std::string> bystanders_;
};

}  // namespace purgent::generator
