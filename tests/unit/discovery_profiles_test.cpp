#include <gtest/gtest.h>

#include "run/errors.h"
#include "discovery/discovery.h"
#include "discovery/profile_discovery.h"
#include "registry_test_machine.h"

namespace purgent::testing {
namespace {

const std::string ProfileList =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

std::string LogonUser(const std::string& name) {
    return "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer]\n"
           "\"Logon User Name\"=\"" + name + "\"\n";
}

// A ProfileList entry whose ProfileImagePath is stored as given, as REG_SZ.
std::string Profile(const std::string& sid, const std::string& imagePath) {
    std::string escaped;
    for (char c : imagePath) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return "[" + ProfileList + "\\" + sid + "]\n\"ProfileImagePath\"=\"" + escaped + "\"\n";
}

std::string StoredProfile(const std::string& sid, const std::string& folder) {
    return Profile(sid, "%SystemDrive%\\Documents and Settings\\" + folder);
}

ProfileSet Discover(RegistryTestMachine& machine) {
    DiscoverLocations(machine.ctx);
    return machine.ctx.profiles;
}

TEST(DiscoveryProfiles, OnlyLocalUserSidsOtherThanTheLoggedOnUserAreListed) {
    RegistryTestMachine machine(LogonUser("jo") + StoredProfile("S-1-5-18", "LocalService") +
                                StoredProfile("S-1-5-19", "NetworkService") +
                                StoredProfile("S-1-5-21", "exact") +
                                StoredProfile("s-1-5-21-1-2-3-1004", "lower") +
                                StoredProfile("S-1-5-21-1-2-3-1003", "jo") +
                                StoredProfile("S-1-5-21-1-2-3-1005", "ann"));
    EXPECT_EQ(Discover(machine), (ProfileSet{"", "ann"}));
    AppendLogonUser(machine.ctx);
    EXPECT_EQ(machine.ctx.profiles, (ProfileSet{"", "ann", "jo"}));
}

TEST(DiscoveryProfiles, UsersAreLocalDomainAndEntraIdAccountsOnly) {
    const struct {
        const char* sid;
        bool listed;
    } cases[] = {
        {"S-1-5-21-1085031214-1563985344-725345543-1001", true},
        {"S-1-12-1-3393479617-1316395386-2178113154-1489127722", true},
        {"S-1-12-1-1", true},
        {"S-1-12-1-", false},
        {"S-1-12-1", false},
        {"s-1-12-1-3393479617-1316395386-2178113154-1489127722", false},
        {"S-1-12-10-3393479617", false},
        {"S-1-12-2-3393479617-1316395386", false},
        {"S-1-5-18", false},
        {"S-1-5-19", false},
        {"S-1-5-20", false},
        {"S-1-5-80-3880718306-3832830129-1677859214-2598158968-1052248003", false},
        {"S-1-5-82-3006700770-424185619-1745488364-794895919-4004696415", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sid);
        RegistryTestMachine machine(LogonUser("jo") + StoredProfile(c.sid, "carol"));
        EXPECT_EQ(Discover(machine), c.listed ? (ProfileSet{"", "carol"}) : ProfileSet{""});
    }
}

TEST(DiscoveryProfiles, TheLoggedOnUsersFolderIsTheOneNamedLikeTheLogonNameWithoutLetterCase) {
    RegistryTestMachine machine(LogonUser("jo") + StoredProfile("S-1-5-21-1-1001", "bjo") +
                                StoredProfile("S-1-5-21-1-1002", "JO") +
                                StoredProfile("S-1-5-21-1-1003", "joe") +
                                Profile("S-1-5-21-1-1004", "C:\\Users\\jo\\") +
                                Profile("S-1-5-21-1-1005", "C:\\Users\\x.jo"));
    EXPECT_EQ(Discover(machine), (ProfileSet{"", "bjo", "joe", "x.jo"}));
}

TEST(DiscoveryProfiles, FolderNameFromEveryStoredPathForm) {
    const struct {
        const char* stored;
        const char* name;
    } cases[] = {
        {"%SystemDrive%\\Documents and Settings\\ann", "ann"},
        {"%SYSTEMDRIVE%\\documents and settings\\Ann", "Ann"},
        {"%SystemDrive%\\Documents and Settings\\ann\\sub", "ann\\sub"},
        {"%SystemDrive%\\Documents and Settings\\", ""},
        {"C:\\Documents and Settings\\ann", "ann"},
        {"%SystemDrive%\\Users\\ann", "ann"},
        {"C:\\Users\\ann.CORP", "ann.CORP"},
        {"D:\\Profiles\\Somebody With A Long Name\\bob", "bob"},
        {"C:\\Users\\ann\\", "ann"},
        {"C:\\Users\\ann\\\\", "ann"},
        {"C:/Users/ann", "ann"},
        {"ann", "ann"},
        {"C:\\", ""},
        {"C:", ""},
        {"\\", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ProfileFolderName(c.stored), c.name) << c.stored;
}

TEST(DiscoveryProfiles, EachProfilesOwnFolderFromItsStoredPath) {
    const struct {
        const char* stored;
        const char* folder;
    } cases[] = {
        {"%SystemDrive%\\Users\\ann", "C:\\Users\\ann"},
        {"%SYSTEMDRIVE%\\Documents and Settings\\ann", "C:\\Documents and Settings\\ann"},
        {"D:\\Profiles\\bob\\", "D:\\Profiles\\bob"},
        {"\\\\server\\profiles\\carl", "\\\\server\\profiles\\carl"},
        {"%windir%\\..\\Users\\eve", "C:\\WINDOWS\\..\\Users\\eve"},
        {"%NoSuchVariable%\\dave", "C:\\Documents and Settings\\dave"},
        {"%SystemDrive\\Users\\fay", "C:\\Documents and Settings\\fay"},
        {"gus", "C:\\Documents and Settings\\gus"},
        {"", ""},
    };
    RegistryTestMachine machine("");
    for (const auto& c : cases)
        EXPECT_EQ(ProfileFolderPath(c.stored, machine.machine.GetPlatform().environment, "C"), c.folder) << c.stored;
}

TEST(DiscoveryProfiles, VistaProfilesAreListedWithTheirSids) {
    RegistryTestMachine machine(LogonUser("jo") + Profile("S-1-5-21-1-1001", "%SystemDrive%\\Users\\ann") +
                                Profile("S-1-5-21-1-1002", "C:\\Users\\jo") +
                                Profile("S-1-5-21-1-1003", "C:\\Users\\bob.CORP"));
    EXPECT_EQ(Discover(machine), (ProfileSet{"", "ann", "bob.CORP"}));
    EXPECT_EQ(machine.ctx.profileSids, (ProfileSids{"", "S-1-5-21-1-1001", "S-1-5-21-1-1003"}));
    EXPECT_EQ(machine.ctx.profileFolders, (ProfileFolders{"", "C:\\Users\\ann", "C:\\Users\\bob.CORP"}));
    // The logged-on user is appended at the folder its own entry names.
    AppendLogonUser(machine.ctx);
    EXPECT_EQ(machine.ctx.profileSids.size(), machine.ctx.profiles.size());
    EXPECT_EQ(machine.ctx.profileFolders.back(), "C:\\Users\\jo");
}

// Vista and later write no "Logon User Name", and a deployment running as
// SYSTEM reads SYSTEM's hive: the current user cannot be told apart.
TEST(DiscoveryProfiles, WithoutLogonNameEveryProfileIsListed) {
    for (const std::string& explorer : {LogonUser(""), std::string()}) {
        RegistryTestMachine machine(explorer + StoredProfile("S-1-5-21-1-1005", "ann") +
                                    Profile("S-1-5-21-1-1006", "C:\\Users\\bob"));
        EXPECT_EQ(Discover(machine), (ProfileSet{"", "ann", "bob"}));
        AppendLogonUser(machine.ctx);
        EXPECT_EQ(machine.ctx.profiles, (ProfileSet{"", "ann", "bob", ""}));
    }
}

TEST(DiscoveryProfiles, UnreadableProfileIsListedWithAnEmptyNameNotWithItsNeighbours) {
    image::MachineImage image = ImageOf(LogonUser("jo") + StoredProfile("S-1-5-21-1-1001", "ann") +
                                        StoredProfile("S-1-5-21-1-1002", "locked"));
    image.machine.denied.push_back(ProfileList + "\\S-1-5-21-1-1002");
    RegistryTestMachine machine(image);
    EXPECT_EQ(Discover(machine), (ProfileSet{"", "ann", ""}));
}

TEST(DiscoveryProfiles, EveryQualifyingProfileIsKept) {
    std::string regText = LogonUser("jo");
    for (int i = 0; i < 120; ++i) regText += StoredProfile("S-1-5-21-9-" + std::to_string(1000 + i), "u" + std::to_string(i));
    RegistryTestMachine machine(regText);
    const ProfileSet profiles = Discover(machine);
    ASSERT_EQ(profiles.size(), 121u);
    EXPECT_EQ(profiles.back(), "u119");
}

TEST(DiscoveryProfiles, NonStringProfileImagePathEndsTheRun) {
    RegistryTestMachine machine(LogonUser("jo") + "[" + ProfileList +
                                "\\S-1-5-21-1-1001]\n\"ProfileImagePath\"=dword:00000001\n");
    EXPECT_THROW(Discover(machine), PurgentError);
}

TEST(DiscoveryProfiles, DefaultAndAllUsersFoldersAreReadOnEveryFamily) {
    const std::string regText = LogonUser("jo") + StoredProfile("S-1-5-21-1-1005", "ann") + "[" + ProfileList +
                                "]\n\"DefaultUserProfile\"=\"Default User\"\n\"AllUsersProfile\"=\"All Users\"\n";
    for (image::PlatformFamily family : {image::PlatformFamily::Nt, image::PlatformFamily::Win9x}) {
        image::MachineImage image = ImageOf(regText);
        image.machine.machine.platform = family;
        RegistryTestMachine machine(image);
        DiscoverLocations(machine.ctx);
        EXPECT_EQ(machine.ctx.locations.DefaultUserProfile, "Default User");
        EXPECT_EQ(machine.ctx.locations.AllUsersProfile, "All Users");
    }
}

TEST(DiscoveryProfiles, OutsideTheNtFamilyTheSetStartsEmpty) {
    image::MachineImage image = ImageOf(LogonUser("jo") + StoredProfile("S-1-5-21-1-1005", "ann"));
    image.machine.machine.platform = image::PlatformFamily::Win9x;
    RegistryTestMachine machine(image);
    EXPECT_TRUE(Discover(machine).empty());
    AppendLogonUser(machine.ctx);
    EXPECT_EQ(machine.ctx.profiles, (ProfileSet{"jo"}));
}

TEST(DiscoveryProfiles, MissingProfileListGivesTheCurrentUserAlone) {
    RegistryTestMachine machine(LogonUser("jo"));
    EXPECT_EQ(Discover(machine), (ProfileSet{""}));
    EXPECT_EQ(machine.ctx.locations.DefaultUserProfile, "");
}

}  // namespace
}  // namespace purgent::testing
