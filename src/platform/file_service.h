#pragma once
#include <cstdint>
#include <string>

namespace purgent {

// Attribute bits as Windows numbers them.
constexpr std::uint32_t FileAttrReadOnly = 0x01;
constexpr std::uint32_t FileAttrHidden = 0x02;
constexpr std::uint32_t FileAttrSystem = 0x04;
constexpr std::uint32_t FileAttrFolder = 0x10;
// A junction, symbolic link or mount point: the item leads elsewhere.
constexpr std::uint32_t FileAttrReparsePoint = 0x400;
// GetFileAttributesA's answer for a path that names nothing.
constexpr std::uint32_t NoSuchFile = 0xFFFFFFFFu;

// One entry of a folder listing (WIN32_FIND_DATAA, as far as the program looks).
struct FoundFile {
    std::string name;  // long name
    std::uint32_t attributes = 0;
    // Whether its last-write time converts to a local DOS date and time
    // (FileTimeToLocalFileTime, FileTimeToDosDateTime).
    bool dosTime = true;
};

using FindHandle = std::uintptr_t;
constexpr FindHandle NoFind = 0;
using WriteHandle = std::uintptr_t;
constexpr WriteHandle NoWrite = 0;

// Why a file was not opened for writing. Whoever can plant a link where the
// program writes (a log in C:\Temp written by a run as SYSTEM) could have
// any file of the machine overwritten, so a link is never written through.
enum class WriteRefusal {
    None,
    CannotCreate,  // no such folder, access denied, held open...
    Link,          // the path names a link or another reparse point
    OtherNames,    // the file has more than one name (hard links)
};

// Where writing to a file opened for it begins.
enum class WriteStart {
    Empty,  // what the file held is dropped
    AtEnd,  // what the file held stays, and writing goes on after it
};

// The file system as the Win32 API offers it (FindFirstFileA ... RemoveDirectoryA).
class FileService {
public:
    virtual ~FileService() = default;

    // FindFirstFileA: the first entry matching mask ("*" and "?", any case),
    // or NoFind. The listing goes on returning the entries it had not
    // returned yet when others are deleted meanwhile.
    virtual FindHandle FindFirst(const std::string& mask, FoundFile& entry) = 0;
    // FindNextFileA: false when no entry is left.
    virtual bool FindNext(FindHandle find, FoundFile& entry) = 0;
    virtual void FindClose(FindHandle find) = 0;

    virtual std::uint32_t GetAttributes(const std::string& path) = 0;
    // 0 on success, else the Win32 error code.
    virtual long SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    // Only an empty folder can be removed.
    virtual bool RemoveFolder(const std::string& path) = 0;
    // The Win32 error code of the RemoveFile or RemoveFolder call that failed
    // last (GetLastError right after it).
    virtual long RemoveError() = 0;

    // CreateFileA(DELETE, sharing read and write, OPEN_EXISTING) and closed
    // again: 0 when the file could be deleted now as far as access and other
    // programs go (32: held open, 5: access denied). Changes nothing.
    virtual long DeleteAccess(const std::string& path) = 0;
    // MoveFileExA(path, NULL, MOVEFILE_DELAY_UNTIL_REBOOT): Windows deletes
    // the file, or the folder if it is empty by then, when it next starts,
    // in the order asked. 0, or the Win32 error code (5 without an
    // administrator's rights).
    virtual long DeleteAtRestart(const std::string& path) = 0;
    // CreateDirectoryA: 0, or the Win32 error code (183: it exists).
    virtual long CreateFolder(const std::string& path) = 0;
    // CreateFileA(GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS) without
    // following a link, checked on the handle, then emptied or wound to its
    // end as start says; others may read it but not delete it while it is
    // open. NoWrite, and refusal says why, when it cannot be created or
    // opened (another program writing it) or the path names a link or a
    // file with other names; nothing is changed then.
    virtual WriteHandle CreateForWriting(const std::string& path, WriteStart start, WriteRefusal& refusal) = 0;
    // WriteFile of all the bytes at the end of what was written; false when
    // not all of them were written.
    virtual bool Write(WriteHandle file, const std::string& bytes) = 0;
    virtual void CloseWritten(WriteHandle file) = 0;
    // GetFullPathNameA: the absolute path Windows will use ("." and ".."
    // segments resolved, a segment's trailing dot and the last segment's
    // trailing dots and blanks dropped); "" when it has none.
    virtual std::string FullPathName(const std::string& path) = 0;
    // GetLongPathNameA: an existing path with its short (8.3) names replaced
    // by the long ones; "" when the path names nothing.
    virtual std::string LongPathName(const std::string& path) = 0;
    // Whether ordinary users (Everyone, Authenticated Users, Users,
    // INTERACTIVE) may create files in the folder, by its access list.
    virtual bool OpenToUsers(const std::string& folder) = 0;
    // Whether the path lies on a drive letter mapped to a network share
    // (GetDriveTypeA of its root is DRIVE_REMOTE).
    virtual bool OnNetworkDrive(const std::string& path) = 0;
    // GetFinalPathNameByHandleA of the path opened (a folder too), without its
    // "\\?\" prefix: where junctions and links lead; "" when it cannot be
    // opened, or on a Windows without the function (before Vista).
    virtual std::string FinalPathName(const std::string& path) = 0;
};

}  // namespace purgent
