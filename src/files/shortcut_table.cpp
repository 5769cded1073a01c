#include "files/file_tables.h"

namespace purgent {

const ShortcutTable& Shortcuts() {
    static const ShortcutTable table{
        .shellFolderShortcuts = {
            R"(<UserSendTo>\GroupWise Recipient.lnk)",
            R"(<UserSendTo>\GroupWise Library.lnk)",
            R"(<UserDesktop>\GroupWise Marquee.lnk)",
            R"(<UserDesktop>\GroupWise Desktop.lnk)",
            R"(<UserDesktop>\GroupWise.lnk)",
            R"(<UserDesktop>\GroupWise 5.lnk)",
            R"(<CommonSendTo>\GroupWise Recipient.lnk)",
            R"(<CommonSendTo>\GroupWise Library.lnk)",
            R"(<CommonDesktop>\GroupWise Marquee.lnk)",
            R"(<CommonDesktop>\GroupWise Desktop.lnk)",
            R"(<CommonDesktop>\GroupWise 5.lnk)",
            R"(<CommonDesktop>\GroupWise.lnk)",
        },
        .profileListKey = R"(\Software\MicroSoft\Windows NT\CurrentVersion\ProfileList)",
        .profileImagePath = "profileImagePath",
        .profileSendTo = {
            R"(<WindowsDrive>:\Documents and Settings\<Q>\SendTo\GroupWise Library.lnk)",
            R"(<WindowsDrive>:\Documents and Settings\<Q>\SendTo\GroupWise Recipient.lnk)",
        },
        .defaultUserSendTo = {
            R"(<WindowsDrive>:\Documents and Settings\<DefaultUserProfile>\SendTo\GroupWise Library.lnk)",
            R"(<WindowsDrive>:\Documents and Settings\<DefaultUserProfile>\SendTo\GroupWise Recipient.lnk)",
        },
        .shortcutNames = {
            "GroupWise Notify.lnk",
            "GroupWise Marquee.lnk",
            "GroupWise DeskTop.lnk",
            "GroupWise Conversation Place.lnk",
            "GroupWise Address Book.lnk",
            "GroupWise 5.lnk",
            "GroupWise.lnk",
            "Notify.lnk",
            "Address Book.lnk",
        },
        .programGroupShortcuts = {
            R"(<WindowsDrive>:\Documents and Settings\All Users\Start Menu\Programs\GroupWise 5\<N>)",
            R"(<WindowsDrive>:\Documents and Settings\<AllUsersProfile>\Start Menu\Programs\GroupWise 5\<N>)",
            R"(<WindowsDir>\Profiles\All Users\Start Menu\Programs\GroupWise 5\<N>)",
            R"(<WindowsDir>\Profiles\<AllUsersProfile>\Start Menu\Programs\GroupWise 5\<N>)",
            R"(<WindowsDir>\Start Menu\Programs\GroupWise 5\<N>)",
            R"(<UserPrograms>\GroupWise 5\<N>)",
            R"(<CommonPrograms>\GroupWise 5\<N>)",
            R"(<UserPrograms>\GroupWise\<N>)",
            R"(<CommonPrograms>\GroupWise\<N>)",
            R"(<UserPrograms>\Novell GroupWise\<N>)",
            R"(<CommonPrograms>\Novell GroupWise\<N>)",
            R"(<CommonStartup>\<N>)",
            R"(<UserStartup>\<N>)",
        },
        .profileShortcuts = {
            R"(<WindowsDrive>:\Documents and Settings\<P>\Start Menu\Programs\Startup\<N>)",
            R"(<WindowsDrive>:\Documents and Settings\<P>\Desktop\<N>)",
        },
        .oldProfileShortcuts = {
            R"(<WindowsDir>\Profiles\<P>\Start Menu\Programs\Startup\<N>)",
            R"(<WindowsDir>\Profiles\<P>\Desktop\<N>)",
        },
        .localData =
            R"(<WindowsDrive>:\Documents and Settings\<P>\Local Settings\Application Data\GroupWise)",
        .localDataPattern = R"(\*.*)",
        .quickLaunchShortcut =
            R"(<WindowsDrive>:\Documents and Settings\<P>\Application Data\Microsoft\Internet Explorer\Quick Launch\GroupWise.lnk)",
        .logonUserOldProfileShortcuts = {
            R"(<WindowsDir>\Profiles\<LogonUserName>\Start Menu\Programs\Startup\<N>)",
            R"(<WindowsDir>\Profiles\<LogonUserName>\Desktop\<N>)",
        },
        .programGroups = {
            R"(<WindowsDrive>:\Documents and Settings\All Users\Start Menu\Programs\GroupWise 5)",
            R"(<WindowsDrive>:\Documents and Settings\<AllUsersProfile>\Start Menu\Programs\GroupWise 5)",
            R"(<WindowsDir>\Profiles\All Users\Start Menu\Programs\GroupWise 5)",
            R"(<WindowsDir>\Profiles\<AllUsersProfile>\Start Menu\Programs\GroupWise 5)",
            R"(<WindowsDir>\Start Menu\Programs\GroupWise 5)",
            R"(<UserPrograms>\GroupWise 5)",
            R"(<CommonPrograms>\GroupWise 5)",
            R"(<UserPrograms>\GroupWise)",
            R"(<CommonPrograms>\GroupWise)",
            R"(<UserPrograms>\Novell GroupWise)",
            R"(<CommonPrograms>\Novell GroupWise)",
        },
        .fixedShortcuts = {
            {.file = "GroupWise 5.lnk", .desktop = false},
            {.file = "GroupWise Notify.lnk", .desktop = false},
            {.file = "GroupWise Conversation Place.lnk", .desktop = false},
            {.file = "GroupWise 5.lnk", .desktop = true},
        },
        .startupLocations = {
            R"(<WindowsDrive>:\Documents and Settings\All Users\Start Menu\Programs\Startup\<F>)",
            R"(<WindowsDrive>:\WINNT\Profiles\All Users\Start Menu\Programs\Startup\<F>)",
            R"(<WindowsDrive>:\Documents and Settings\<AllUsersProfile>\Start Menu\Programs\Startup\<F>)",
            R"(<WindowsDrive>:\WINNT\Profiles\<AllUsersProfile>\Start Menu\Programs\Startup\<F>)",
            R"(<WindowsDrive>:\Windows\Start Menu\Programs\Startup\<F>)",
            R"(<UserPrograms>\Startup\<F>)",
            R"(<CommonPrograms>\Startup\<F>)",
        },
        .desktopLocations = {
            R"(<WindowsDrive>:\Documents and Settings\All Users\Desktop\<F>)",
            R"(<WindowsDrive>:\WINNT\Profiles\All Users\Desktop\<F>)",
            R"(<WindowsDrive>:\Documents and Settings\<AllUsersProfile>\Desktop\<F>)",
            R"(<WindowsDrive>:\WINNT\Profiles\<AllUsersProfile>\Desktop\<F>)",
            R"(<WindowsDrive>:\Windows\Desktop\<F>)",
            R"(<UserDesktop>\<F>)",
            R"(<CommonDesktop>\<F>)",
        },
    };
    return table;
}

}  // namespace purgent
