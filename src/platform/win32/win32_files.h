#pragma once
#include "platform/file_service.h"

namespace purgent {

// The Win32 file system, passed through call by call.
class Win32FileService : public FileService {
public:
    FindHandle FindFirst(const std::string& mask, FoundFile& entry) override;
    bool FindNext(FindHandle find, FoundFile& entry) override;
    void FindClose(FindHandle find) override;
    std::uint32_t GetAttributes(const std::string& path) override;
    long SetAttributes(const std::string& path, std::uint32_t attributes) override;
    bool RemoveFile(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    long RemoveError() override;
    long DeleteAccess(const std::string& path) override;
    long DeleteAtRestart(const std::string& path) override;
    long CreateFolder(const std::string& path) override;
    WriteHandle CreateForWriting(const std::string& path, WriteStart start, WriteRefusal& refusal) override;
    bool Write(WriteHandle file, const std::string& bytes) override;
    void CloseWritten(WriteHandle file) override;
    std::string FullPathName(const std::string& path) override;
    std::string LongPathName(const std::string& path) override;
    std::string FinalPathName(const std::string& path) override;
    bool OnNetworkDrive(const std::string& path) override;
    bool OpenToUsers(const std::string& folder) override;
};

}  // namespace purgent
