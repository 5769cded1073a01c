#include "platform/win32/win32_files.h"

#include <windows.h>

#include <aclapi.h>

namespace purgent {

namespace {

FoundFile Entry(const WIN32_FIND_DATAA& data) {
    FILETIME local;
    WORD date = 0, time = 0;
    const bool dosTime = FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) &&
                         FileTimeToDosDateTime(&local, &date, &time);
    return FoundFile{data.cFileName, data.dwFileAttributes, dosTime};
}

HANDLE Handle(FindHandle find) { return reinterpret_cast<HANDLE>(find); }

// A call that fills a buffer and, when it is too small, returns the size it
// needs (GetFullPathNameA, GetLongPathNameA); "" on failure.
template <typename Call>
std::string Filled(Call call) {
    std::string text(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = call(text.data(), static_cast<DWORD>(text.size()));
        if (length == 0) return std::string();
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(length);
    }
}

// GetFinalPathNameByHandleA without its "\\?\" prefix; "" before Vista.
std::string FinalPathOf(HANDLE file) {
    using FinalPathNameFunction = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
    static const auto finalPathName = reinterpret_cast<FinalPathNameFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA")));
    if (!finalPathName) return "";
    const std::string final = Filled([&](char* buffer, DWORD size) { return finalPathName(file, buffer, size, 0); });
    if (final.rfind("\\\\?\\UNC\\", 0) == 0) return "\\" + final.substr(7);
    if (final.rfind("\\\\?\\", 0) == 0) return final.substr(4);
    return final;
}

// Windows opens a link itself under FILE_FLAG_OPEN_REPARSE_POINT, and the
// handle then carries the reparse-point attribute; Wine follows a symbolic
// link regardless, which only the handle's final path shows: the file must
// be where its folder leads, under its own name.
WriteRefusal RefusalOf(FileService& files, HANDLE file, const std::string& path) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info)) return WriteRefusal::CannotCreate;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return WriteRefusal::Link;
    if (info.nNumberOfLinks > 1) return WriteRefusal::OtherNames;
    const std::string full = files.FullPathName(path);
    const std::string::size_type slash = full.rfind('\\');
    const std::string final = FinalPathOf(file);
    if (final.empty() || slash == std::string::npos) return WriteRefusal::None;
    const std::string folder = files.FinalPathName(full.substr(0, slash + 1));
    if (folder.empty()) return WriteRefusal::None;
    const std::string expected = (folder.back() == '\\' ? folder : folder + "\\") + full.substr(slash + 1);
    return lstrcmpiA(final.c_str(), expected.c_str()) == 0 ? WriteRefusal::None : WriteRefusal::Link;
}

bool MoveToStart(HANDLE file, WriteStart start) {
    if (start == WriteStart::Empty) return SetEndOfFile(file) != 0;
    return SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_END) != 0;
}

bool IsOrdinaryUsers(PSID sid) {
    for (WELL_KNOWN_SID_TYPE type : {WinWorldSid, WinAuthenticatedUserSid, WinBuiltinUsersSid, WinInteractiveSid}) {
        BYTE known[SECURITY_MAX_SID_SIZE];
        DWORD size = sizeof known;
        if (CreateWellKnownSid(type, nullptr, known, &size) && EqualSid(sid, known)) return true;
    }
    return false;
}

}  // namespace

FindHandle Win32FileService::FindFirst(const std::string& mask, FoundFile& entry) {
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA(mask.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return NoFind;
    entry = Entry(data);
    return reinterpret_cast<FindHandle>(find);
}

bool Win32FileService::FindNext(FindHandle find, FoundFile& entry) {
    WIN32_FIND_DATAA data;
    if (!FindNextFileA(Handle(find), &data)) return false;
    entry = Entry(data);
    return true;
}

void Win32FileService::FindClose(FindHandle find) { ::FindClose(Handle(find)); }

std::uint32_t Win32FileService::GetAttributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

long Win32FileService::SetAttributes(const std::string& path, std::uint32_t attributes) {
    return SetFileAttributesA(path.c_str(), attributes) ? ERROR_SUCCESS : static_cast<long>(GetLastError());
}

bool Win32FileService::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

long Win32FileService::DeleteAccess(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return static_cast<long>(GetLastError());
    CloseHandle(file);
    return ERROR_SUCCESS;
}

long Win32FileService::DeleteAtRestart(const std::string& path) {
    return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ? ERROR_SUCCESS
                                                                           : static_cast<long>(GetLastError());
}

long Win32FileService::CreateFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) ? ERROR_SUCCESS : static_cast<long>(GetLastError());
}

bool Win32FileService::RemoveFolder(const std::string& path) { return RemoveDirectoryA(path.c_str()) != 0; }

long Win32FileService::RemoveError() { return static_cast<long>(GetLastError()); }

// Opened without following a link and checked on that handle, so that
// nothing can be swapped in between; emptied or wound only once it passed.
WriteHandle Win32FileService::CreateForWriting(const std::string& path, WriteStart start, WriteRefusal& refusal) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        refusal = WriteRefusal::CannotCreate;
        return NoWrite;
    }
    refusal = RefusalOf(*this, file, path);
    if (refusal == WriteRefusal::None && !MoveToStart(file, start)) refusal = WriteRefusal::CannotCreate;
    if (refusal != WriteRefusal::None) {
        CloseHandle(file);
        return NoWrite;
    }
    return reinterpret_cast<WriteHandle>(file);
}

bool Win32FileService::Write(WriteHandle file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(reinterpret_cast<HANDLE>(file), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                       &written, nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

void Win32FileService::CloseWritten(WriteHandle file) { CloseHandle(reinterpret_cast<HANDLE>(file)); }

std::string Win32FileService::FullPathName(const std::string& path) {
    return Filled([&](char* buffer, DWORD size) { return GetFullPathNameA(path.c_str(), size, buffer, nullptr); });
}

std::string Win32FileService::LongPathName(const std::string& path) {
    return Filled([&](char* buffer, DWORD size) { return GetLongPathNameA(path.c_str(), buffer, size); });
}

bool Win32FileService::OpenToUsers(const std::string& folder) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    bool open = dacl == nullptr;  // no access list: everybody may do everything
    for (DWORD index = 0; dacl && !open && index < dacl->AceCount; ++index) {
        void* entry = nullptr;
        if (!GetAce(dacl, index, &entry)) continue;
        const auto* ace = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
        if (ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE || (ace->Header.AceFlags & INHERIT_ONLY_ACE)) continue;
        if (ace->Mask & (FILE_ADD_FILE | GENERIC_WRITE | GENERIC_ALL))
            open = IsOrdinaryUsers(const_cast<DWORD*>(&ace->SidStart));
    }
    LocalFree(descriptor);
    return open;
}

bool Win32FileService::OnNetworkDrive(const std::string& path) {
    if (path.size() < 2 || path[1] != ':') return false;
    const std::string root = path.substr(0, 2) + "\\";
    return GetDriveTypeA(root.c_str()) == DRIVE_REMOTE;
}

std::string Win32FileService::FinalPathName(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    std::string final = FinalPathOf(file);
    CloseHandle(file);
    return final;
}


}  // namespace purgent
