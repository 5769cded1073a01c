// The client's files on a generated workstation: shortcuts, program, system,
// Office and Writing Tools files from the catalogue tables, each present or
// not, with other programs' files in the same folders.
#include "files/file_tables.h"
#include "files/path_template.h"
#include "random_workstation.h"

namespace purgent::generator {
namespace {

// A path on a drive, without an empty part (an absent location leaves one).
bool FullPath(const std::string& path) {
    return path.size() >= 4 && path[1] == ':' && path[2] == '\\' && path.find("\\\\") == std::string::npos;
}

class ClientFiles {
public:
    ClientFiles(WorkstationBuilder& builder, const Layout& layout)
        : builder_(builder), random_(builder.Random()), layout_(layout), fields_(layout.locations),
          density_(random_.Pick<int>({5, 20, 50})) {
        fields_.Set("UserProfileFolder", layout.userProfileFolder);
    }

    void Add() {
        AddShortcuts();
        AddSystemFiles();
        AddProgramFolder();
        AddOfficeFiles();
    }

private:
    // The expanded template as a file, when it names a full path; now and
    // then a look-alike beside it.
    void Maybe(const PathTemplate& path) { MaybeFile(fields_.Expand(path)); }

    void MaybeFile(const std::string& expanded) {
        if (!FullPath(expanded)) return;
        if (random_.Percent(density_)) builder_.File(expanded);
        if (random_.Percent(density_ / 4)) {
            const std::string folder = expanded.substr(0, expanded.rfind('\\') + 1);
            builder_.File(folder + LookAlike(random_, expanded.substr(folder.size())));
        }
    }

    void Each(const PathTemplates& paths) {
        for (const PathTemplate& path : paths) Maybe(path);
    }

    // The same for one profile's paths, at its own folder.
    void EachOfProfile(const PathTemplates& paths, std::size_t profile) {
        for (const PathTemplate& path : paths) MaybeFile(AtOwnProfileFolder(layout_, profile, fields_.Expand(path)));
    }

    void AddShortcuts() {
        const ShortcutTable& t = Shortcuts();
        Each(t.shellFolderShortcuts);
        for (std::size_t profile = 0; profile < layout_.profileNames.size(); ++profile) {
            fields_.Set("Q", layout_.profileNames[profile]);
            fields_.Set("P", layout_.profileNames[profile]);
            Each(t.profileSendTo);
            EachOfProfile({t.quickLaunchShortcut}, profile);
            AddLocalData(AtOwnProfileFolder(layout_, profile, fields_.Expand(t.localData)));
        }
        Each(t.defaultUserSendTo);
        for (const std::string& name : t.shortcutNames) {
            fields_.Set("N", name);
            Each(t.programGroupShortcuts);
            for (std::size_t profile = 0; profile < layout_.profileNames.size(); ++profile) {
                fields_.Set("P", layout_.profileNames[profile]);
                EachOfProfile(t.profileShortcuts, profile);
                Each(t.oldProfileShortcuts);
            }
            for (const auto& [desktop, programs] : layout_.otherUsersShellFolders) {
                MaybeFile(desktop + "\\" + name);
                MaybeFile(programs + "\\GroupWise\\" + name);
            }
            Each(t.logonUserOldProfileShortcuts);
        }
        for (const PathTemplate& group : t.programGroups)
            if (random_.Percent(density_ / 2)) Maybe(group + "\\Other Program.lnk");
        for (const FixedShortcut& shortcut : t.fixedShortcuts) {
            fields_.Set("F", shortcut.file);
            Each(shortcut.desktop ? t.desktopLocations : t.startupLocations);
        }
        for (const auto& [desktop, programs] : layout_.otherUsersShellFolders) builder_.File(desktop + "\\GroupWise.txt");
    }

    // The local data folder: files, now and then a subfolder that keeps it.
    void AddLocalData(const std::string& folder) {
        if (!random_.Percent(density_)) return;
        builder_.File(folder + "\\ngwguard.db");
        if (random_.Percent(50)) builder_.File(folder + "\\wprof.tmp");
        if (random_.Percent(20)) builder_.File(folder + "\\archive\\old.db");
        if (random_.Percent(20)) builder_.Folder(folder + "\\empty");
    }

    // A name for a catalogue entry: literal, or a mask filled in; now and then
    // a name matching the mask only through its short name.
    std::string NameFor(const std::string& entry) {
        const auto star = entry.find('*');
        if (star == std::string::npos) return entry;
        const std::string head = entry.substr(0, star), tail = entry.substr(star + 1);
        if (random_.Percent(20)) return head + "X" + tail + random_.Pick<std::string>({"OLD", "x", "_bak"});
        return head + random_.Pick<std::string>({"", "EN", "us", "2000"}) + tail;
    }

    void AddSystemFiles() {
        const SystemFilesTable& t = SystemFiles();
        for (const PathTemplate& folder : {t.systemFolder, t.system32Folder}) {
            const std::string path = fields_.Expand(folder);
            // A handful each time: every DLL found costs a regsvr32 run.
            for (const std::string& entry : t.systemFileNames) {
                if (random_.Percent(density_ / 3)) builder_.File(path + NameFor(entry));
                if (random_.Percent(density_ / 8)) builder_.File(path + LookAlike(random_, NameFor(entry)));
            }
            builder_.File(path + "gwold.dllx");
            if (random_.Percent(50)) builder_.File(path + "vendor32.dll");
        }
        Each(t.installerCacheFiles);
        if (random_.Percent(density_ / 2)) Maybe(t.installerCacheFolder + "\\other.msi");
        Each(t.webServicesFiles);
    }

    void AddProgramFolder() {
        const SystemFilesTable& t = SystemFiles();
        const std::string folder = fields_.Expand(t.programFolder);
        if (!random_.Percent(density_ + 30)) return;
        for (const char* name : {"grpwise.exe", "gwenv1.dll", "readme.txt", "gw1.ini", "notes.txt.bak"})
            if (random_.Percent(60)) builder_.File(folder + name);
        for (const ProgramSubfolder& subfolder : t.programSubfolders) {
            const std::string path = fields_.Expand(subfolder.purged);
            if (random_.Percent(60)) builder_.File(path + "gwcheck.exe");
            if (random_.Percent(30)) builder_.File(path + "deep\\kept.txt");
        }
        if (random_.Percent(30)) builder_.File(folder + "Other Program\\other.exe");
        // A folder other programs share holds their files too.
        builder_.File(folder + "otherapp.exe");
    }

    void AddOfficeFiles() {
        const OfficeFilesTable& t = OfficeFiles();
        Each(t.fastFindFiles);
        for (const FolderPattern& purge : t.writingToolsPurges) {
            const std::string mask = fields_.Expand(purge.folder) + purge.pattern;
            if (!FullPath(mask)) continue;
            const std::string folder = mask.substr(0, mask.rfind('\\') + 1);
            if (random_.Percent(density_)) builder_.File(folder + NameFor(mask.substr(folder.size())));
            if (random_.Percent(density_ / 3)) builder_.File(folder + "wt60us.uwl");
        }
        for (int version = t.firstOfficeVersion; version <= t.lastOfficeVersion; ++version)
            if (random_.Percent(density_)) AddExcel(t, version);
        Maybe(t.odmaSettings);
    }

    // An Excel installation: its InstallRoot, the add-in in its start-up folders.
    void AddExcel(const OfficeFilesTable& t, int version) {
        fields_.Set("V", std::to_string(version));
        std::string dir = "C:\\Program Files\\Microsoft Office\\Office" + std::to_string(version);
        if (random_.Percent(50)) dir += "\\";
        builder_.Key(builder_.Machine(), fields_.Expand(t.excelInstallRoot), {builder_.ReadText(t.excelPathValue, dir)});
        fields_.Set("ExcelDir", dir);
        for (const std::string& startup : t.excelStartupFolders) {
            fields_.Set("S", startup);
            Each(t.addInCandidates);
        }
    }

    WorkstationBuilder& builder_;
    RandomSource& random_;
    const Layout& layout_;
    PathFields fields_;
    const int density_;
};

}  // namespace

void AddClientFiles(WorkstationBuilder& builder, const Layout& layout) { ClientFiles(builder, layout).Add(); }

}  // namespace purgent::generator
