// What one run keeps of its own on the machine: the name that keeps a second
// run out, and the record of the program folders it found.
#include <windows.h>

#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_registry.h"

namespace purgent {

namespace {
constexpr const char* RunName = "Global\\Purgent.Run";
}  // namespace

bool Win32EnvironmentService::HoldRunName() {
    // The handle stays open for the process's life; Windows releases the
    // name when the process ends, however it ends. A name held by a process
    // that was killed is abandoned, and then ours.
    HANDLE name = CreateMutexA(nullptr, FALSE, RunName);
    // Another account's run may have made it with access for itself only.
    if (!name) name = OpenMutexA(SYNCHRONIZE, FALSE, RunName);
    // No such name, yet this account may not make one (global names need
    // SeCreateGlobalPrivilege, which every administrator holds): no run
    // holds it, and this one goes on without it.
    if (!name) return GetLastError() == ERROR_FILE_NOT_FOUND;
    const DWORD taken = WaitForSingleObject(name, 0);
    if (taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED) return true;
    CloseHandle(name);
    return false;
}

std::optional<FolderRecord> Win32EnvironmentService::ReadFolderRecord() {
    Win32RegistryService registry;
    return ReadFolderRecordKey(registry);
}

// Only administrators may create the key; for anyone else there is no record,
// and a run cut short leaves the next one to App Paths, as before.
void Win32EnvironmentService::WriteFolderRecord(const FolderRecord& record) {
    RemoveFolderRecord();
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, FolderRecordKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    for (const image::RegistryValue& value : FolderRecordKeyOf(record).values)
        RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
    // Written through before the run's first change: a power cut must not lose it.
    RegFlushKey(key);
    RegCloseKey(key);
}

void Win32EnvironmentService::RemoveFolderRecord() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, FolderRecordKey); }

}  // namespace purgent
