// The frame of a generated workstation: user profiles with their hives, the
// shell folders, the logged-on user and the App Paths of the two programs.
#include "random_workstation.h"

#include <algorithm>

namespace purgent::generator {
namespace {

const char* const kProfileList = "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
const char* const kShellFolders = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const kUserShellFolders = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char* const kExplorer = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const char* const kAppPaths = "\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
const std::vector<std::string> kUserNames = {"ann", "bob", "Carla Maria", "dieter", "eve.o", "fred", "GUSTAV"};

// Where a Windows generation keeps its profiles and names them.
struct ProfileStyle {
    bool vista;
    std::string root;        // the profile folders' parent, with "\"
    std::string storedRoot;  // as ProfileImagePath writes it
    std::string hiveName;
    std::string defaultUser, allUsers;
    std::string commonFolders;  // the common shell folders' parent
};

const ProfileStyle kXp = {false,
                          "C:\\Documents and Settings\\",
                          "%SystemDrive%\\Documents and Settings\\",
                          "ntuser.dat",
                          "Default User",
                          "All Users",
                          "C:\\Documents and Settings\\All Users"};
const ProfileStyle kVista = {true,
                             "C:\\Users\\",
                             "%SystemDrive%\\Users\\",
                             "NTUSER.DAT",
                             "Default",
                             "Public",
                             "C:\\ProgramData\\Microsoft\\Windows"};

// A user's own shell folders in that user's hive, now and then a redirected
// desktop: only the hive tells where they are.
void AddUsersShellFolders(WorkstationBuilder& builder, Layout& layout, const ProfileStyle& style, const KeySink& hive,
                          const std::string& folder) {
    RandomSource& random = builder.Random();
    if (!random.Percent(50)) return;
    const std::string desktop = random.Percent(30) ? "\\Redirected Desktop" : "\\Desktop";
    const std::string programs =
        (style.vista ? "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu" : "\\Start Menu") + std::string("\\Programs");
    builder.Key(hive, kUserShellFolders,
                {ExpandText("Desktop", "%USERPROFILE%" + desktop), ExpandText("Programs", "%USERPROFILE%" + programs)});
    layout.otherUsersShellFolders.emplace_back(folder + desktop, folder + programs);
    builder.Folder(folder + desktop);
}

std::string Sid(int number) { return "S-1-5-21-1957994488-1482476501-1644491937-" + std::to_string(1003 + number); }

// The way a ProfileList entry names its folder: the stored form of its
// Windows generation mostly, now and then another.
image::RegistryValue ProfileImagePath(WorkstationBuilder& builder, const ProfileStyle& style, const std::string& name) {
    switch (builder.Random().Below(10)) {
        case 0: return Text("ProfileImagePath", style.root + name);
        case 1: return ExpandText("ProfileImagePath", (style.vista ? kXp : kVista).storedRoot + name);
        case 2: return builder.ReadText("ProfileImagePath", style.storedRoot + name);
        default: return ExpandText("ProfileImagePath", style.storedRoot + name);
    }
}

void AddProfiles(WorkstationBuilder& builder, Layout& layout, const ProfileStyle& style, const std::string& currentUser) {
    RandomSource& random = builder.Random();
    Values listValues;
    if (random.Percent(85)) listValues.push_back(builder.ReadText("DefaultUserProfile", style.defaultUser));
    if (random.Percent(85)) listValues.push_back(builder.ReadText("AllUsersProfile", style.allUsers));
    builder.Cleared(builder.Machine(), kProfileList);
    builder.Key(builder.Machine(), kProfileList, listValues);
    builder.Key(builder.Machine(), std::string(kProfileList) + "\\S-1-5-18",
                {ExpandText("ProfileImagePath", "%SystemRoot%\\system32\\config\\systemprofile")});
    layout.locations.DefaultUserProfile = listValues.empty() ? "" : style.defaultUser;
    layout.locations.AllUsersProfile = style.allUsers;
    std::vector<std::string> names = {currentUser};
    const int others = random.Below(6);
    for (int i = 0; i < others; ++i) {
        std::string name = random.Pick(kUserNames);
        if (style.vista && random.Percent(20)) name += ".CORP";
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        const std::string sid = Sid(static_cast<int>(i));
        // Now and then a profile on another drive, which only its entry names.
        const bool elsewhere = i > 0 && random.Percent(12);
        const std::string folder = elsewhere ? "D:\\Profiles\\" + name : style.root + name;
        builder.Key(builder.Machine(), std::string(kProfileList) + "\\" + sid,
                    {elsewhere ? Text("ProfileImagePath", folder) : ProfileImagePath(builder, style, name),
                     Number("Flags", 0)});
        layout.profileNames.push_back(name);
        layout.profileFolders.push_back(folder);
        builder.Folder(folder);
        const std::string hive = folder + "\\" + style.hiveName;
        // On Vista and later the current user's hive is in use, and so is a
        // user's who is logged on too: loaded under HKEY_USERS\<SID>.
        if (i == 0) {
            if (!style.vista) continue;
            builder.Hive(hive);
            builder.Lock(hive);
        } else if (style.vista && !elsewhere && random.Percent(25)) {
            builder.Hive(hive);
            builder.Lock(hive);
            layout.userHives.push_back(builder.LoadedHive(sid));
            AddUsersShellFolders(builder, layout, style, layout.userHives.back(), folder);
        } else if (random.Percent(85)) {
            layout.userHives.push_back(builder.Hive(hive));
            AddUsersShellFolders(builder, layout, style, layout.userHives.back(), folder);
        }
    }
}

// The current user's and the common shell folders, each value present or not.
void AddShellFolders(WorkstationBuilder& builder, Layout& layout, const ProfileStyle& style,
                     const std::string& currentUser) {
    RandomSource& random = builder.Random();
    const std::string user = style.root + currentUser;
    const std::string& common = style.commonFolders;
    InstallLocations& l = layout.locations;
    struct Folder {
        const char* value;
        std::string path;
        std::string* location;
    };
    const std::string startMenu = style.vista ? "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu" : "\\Start Menu";
    const std::vector<Folder> userFolders = {
        {"Desktop", user + "\\Desktop", &l.UserDesktop},
        {"Programs", user + startMenu + "\\Programs", &l.UserPrograms},
        {"Startup", user + startMenu + "\\Programs\\Startup", &l.UserStartup},
        {"SendTo", user + (style.vista ? "\\AppData\\Roaming\\Microsoft\\Windows" : "") + "\\SendTo", &l.UserSendTo},
    };
    const std::vector<Folder> commonFolders = {
        {"Common Desktop", style.vista ? "C:\\Users\\Public\\Desktop" : common + "\\Desktop", &l.CommonDesktop},
        {"Common Programs", common + "\\Start Menu\\Programs", &l.CommonPrograms},
        {"Common Startup", common + "\\Start Menu\\Programs\\Startup", &l.CommonStartup},
        {"Common SendTo", common + "\\SendTo", &l.CommonSendTo},
    };
    // "Shell Folders" mirrors "User Shell Folders", as the shell writes it
    // from there; the desktop is always text: the shell rewrites it at logon
    // (Wine's at every start), so a wrong type cannot last.
    for (const auto& [sink, folders] : {std::pair{builder.CurrentUser(), &userFolders},
                                        std::pair{builder.Machine(), &commonFolders}}) {
        Values values, userValues;
        for (const Folder& folder : *folders) {
            if (!random.Percent(85)) continue;
            const bool desktop = folder.location == &l.UserDesktop;
            values.push_back(desktop ? Text(folder.value, folder.path) : builder.ReadText(folder.value, folder.path));
            userValues.push_back(ExpandText(folder.value, folder.path));
            *folder.location = folder.path;
            builder.Folder(folder.path);
        }
        for (const char* key : {kShellFolders, kUserShellFolders}) builder.Cleared(sink, key);
        builder.Key(sink, kShellFolders, values);
        builder.Key(sink, kUserShellFolders, userValues);
    }
    const std::string& desktop = l.UserDesktop;
    if (desktop.size() > 8 && desktop.compare(desktop.size() - 8, 8, "\\Desktop") == 0)
        layout.userProfileFolder = desktop.substr(0, desktop.size() - 8);
}

// Absent (mostly so on Vista and later), empty, the current user, another
// profile, or nobody known.
void AddLogonUserName(WorkstationBuilder& builder, Layout& layout, const ProfileStyle& style) {
    RandomSource& random = builder.Random();
    std::string name;
    switch (style.vista && random.Percent(50) ? 0 : random.Below(6)) {
        case 0: builder.Key(builder.CurrentUser(), kExplorer, {{"Logon User Name", 1, {}, true}}); return;
        case 1: break;
        case 2: name = random.Pick(layout.profileNames); break;
        case 3: name = "stranger"; break;
        default: name = layout.profileNames.front();
    }
    builder.Key(builder.CurrentUser(), kExplorer, {builder.ReadText("Logon User Name", name)});
    layout.locations.LogonUserName = name;
}

// The client's folder: absent from App Paths (the default), its own folder
// (sometimes with a blank), or now and then a folder other programs share.
std::string ProgramFolder(WorkstationBuilder& builder, const char* appPath, const std::string& fallback,
                          const std::vector<std::string>& own) {
    RandomSource& random = builder.Random();
    const int choice = random.Below(20);
    if (choice < 3) return fallback;
    std::string folder = choice < 5 ? random.Pick<std::string>({"C:\\Program Files", "C:\\windows",
                                                                "C:\\Program Files\\Common Files", "C:\\"})
                                    : random.Pick(own);
    std::string path = folder;
    if (path.back() != '\\' && random.Percent(50)) path += "\\";
    builder.Key(builder.Machine(), std::string(kAppPaths) + appPath,
                {Text("", folder + "\\" + appPath), builder.ReadText("Path", path)});
    return path.back() == '\\' ? path : path + "\\";
}

}  // namespace

std::string AtOwnProfileFolder(const Layout& layout, std::size_t profile, const std::string& path) {
    const std::string usual = kXp.root + layout.profileNames[profile];
    const std::string& own = layout.profileFolders[profile];
    if (own.rfind("D:", 0) != 0 || path.compare(0, usual.size(), usual) != 0) return path;
    return own + path.substr(usual.size());
}

Layout AddLayout(WorkstationBuilder& builder) {
    RandomSource& random = builder.Random();
    Layout layout;
    layout.locations.WindowsDir = "C:\\windows";
    layout.locations.WindowsDrive = "C";
    layout.userHives.push_back(builder.CurrentUser());
    const ProfileStyle& style = random.Percent(40) ? kVista : kXp;
    // Vista keeps "Documents and Settings" as a junction to its profiles.
    if (style.vista) builder.Junction(kXp.root.substr(0, kXp.root.size() - 1), kVista.root.substr(0, kVista.root.size() - 1));
    const std::string currentUser = random.Pick(kUserNames);
    AddProfiles(builder, layout, style, currentUser);
    AddShellFolders(builder, layout, style, currentUser);
    AddLogonUserName(builder, layout, style);
    layout.locations.GroupWiseDir =
        ProgramFolder(builder, "GrpWise.exe", "c:\\novell\\groupwise\\",
                      {"C:\\Novell\\GroupWise", "C:\\Program Files\\Novell\\GroupWise Client"});
    layout.messenger = random.Percent(60);
    layout.locations.MessengerDir =
        layout.messenger ? ProgramFolder(builder, "nmcl32.exe", "c:\\novell\\messenger\\",
                                         {"C:\\Novell\\Messenger", "C:\\Program Files\\Novell\\Messenger"})
                         : "c:\\novell\\messenger\\";
    return layout;
}

}  // namespace purgent::generator
