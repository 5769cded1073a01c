// The simulator keeps what is to go at the next restart where Windows keeps
// it, in the form MoveFileEx writes, so that a saved machine and a Wine
// machine read back compare.
#include <gtest/gtest.h>

#include "platform/sim/sim_pending_deletions.h"
#include "registry_test_machine.h"

namespace purgent::testing {
namespace {

const std::string SessionManager = R"(HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager)";

std::string Bytes(const image::RegistryValue& value) { return std::string(value.data.begin(), value.data.end()); }

TEST(SimPendingDeletions, AppendsEachPathAsMoveFileExDoes) {
    using namespace std::string_literals;
    const struct {
        const char* what;
        std::string registry;  // .reg text below the header
        bool denied;
        std::string path;
        long result;
        std::string list;  // the value's bytes afterwards; "" for none
    } cases[] = {
        {"the first", "", false, R"(C:\Novell\GroupWise\gwenv1.dll)", winerr::Success,
         "\\??\\C:\\Novell\\GroupWise\\gwenv1.dll\0\0\0"s},
        {"after an installer's rename", "[" + SessionManager + "]\n\"PendingFileRenameOperations\"=hex(7):5c,00,3f,00,3f,00,5c,00,61,00,00,00,21,00,5c,00,3f,00,3f,00,5c,00,62,00,00,00,00,00\n",
         false, R"(C:\x.dll)", winerr::Success, "\\??\\a\0!\\??\\b\0\\??\\C:\\x.dll\0\0\0"s},
        {"a network path", "", false, R"(\\server\apps\gw\grpwise.exe)", winerr::Success,
         "\\??\\UNC\\server\\apps\\gw\\grpwise.exe\0\0\0"s},
        {"no administrator's rights", "", true, R"(C:\x.dll)", winerr::AccessDenied, ""},
        {"a value of another type", "[" + SessionManager + "]\n\"PendingFileRenameOperations\"=\"C:\\\\y.dll\"\n", false,
         R"(C:\x.dll)", winerr::InvalidParameter, "C:\\y.dll\0"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RegistryTestMachine machine(c.registry);
        if (c.denied) machine.machine.Registry().Deny(SessionManager);
        EXPECT_EQ(sim::AddPendingDeletion(machine.machine.Registry(), c.path), c.result);
        const image::RegistryKeys saved = machine.Saved();
        const image::RegistryKey* key = image::FindKey(saved, SessionManager);
        const image::RegistryValue* value = key ? image::FindValue(*key, "PendingFileRenameOperations") : nullptr;
        EXPECT_EQ(value ? Bytes(*value) : "", c.list);
    }
}

}  // namespace
}  // namespace purgent::testing
