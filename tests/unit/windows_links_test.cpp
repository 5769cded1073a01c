// The links Windows keeps for its 32-bit view are followed; any other is not.
#include <gtest/gtest.h>

#include "platform/windows_links.h"

namespace purgent {
namespace {

TEST(WindowsLinks, OnlyTheLinksOfThe32BitViewAreWindowsOwn) {
    const struct {
        const char* what;
        RegLink link;
        bool windows;
    } cases[] = {
        {"the 32-bit view of the classes",
         {R"(HKEY_LOCAL_MACHINE\Software\Wow6432Node\Classes)", R"(HKEY_LOCAL_MACHINE\Software\Classes\Wow6432Node)"},
         true},
        {"in any case",
         {R"(HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432NODE\Classes)", R"(HKEY_LOCAL_MACHINE\Software\classes\Wow6432Node)"},
         true},
        {"a shared key",
         {R"(HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\App Paths)",
          R"(HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\App Paths)"},
         true},
        {"a shared class key",
         {R"(HKEY_LOCAL_MACHINE\Software\Classes\Wow6432Node\TypeLib)", R"(HKEY_LOCAL_MACHINE\Software\Classes\TypeLib)"},
         true},
        {"the classes of another machine part",
         {R"(HKEY_LOCAL_MACHINE\Software\Wow6432Node\Classes)", R"(HKEY_LOCAL_MACHINE\Software\Other\Classes\Wow6432Node)"},
         false},
        {"in the 32-bit view, to another key",
         {R"(HKEY_LOCAL_MACHINE\Software\Wow6432Node\Novell)", R"(HKEY_LOCAL_MACHINE\Software\Other)"}, false},
        {"a name that only begins like the view",
         {R"(HKEY_LOCAL_MACHINE\Software\Wow6432NodeX\Novell)", R"(HKEY_LOCAL_MACHINE\Software\X\Novell)"}, false},
        {"outside the 32-bit view",
         {R"(HKEY_LOCAL_MACHINE\Software\Novell)", R"(HKEY_LOCAL_MACHINE\Software\Other)"}, false},
        {"a user's link to the machine's key of the same path",
         {R"(HKEY_CURRENT_USER\Software\Novell)", R"(HKEY_LOCAL_MACHINE\Software\Novell)"}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsWindowsLink(c.link), c.windows) << c.what;
}

}  // namespace
}  // namespace purgent
