#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/file_service.h"
#include "platform/sim/sim_drive.h"
#include "platform/sim/sim_registry.h"

namespace purgent::sim {

// The file system of the simulated workstation. A listing is taken when it
// starts; entries deleted before their turn are passed over, as on Windows.
// A file written by the program is held open until it is closed. The drives
// have no short (8.3) names: a long path name is the path itself. What is to
// go at the next restart is listed in the registry, where Windows lists it.
class SimFiles final : public FileService {
public:
    SimFiles(SimDrive& drive, SimRegistry& registry) : drive_(drive), registry_(registry) {}

    FindHandle FindFirst(const std::string& mask, FoundFile& entry) override;
    bool FindNext(FindHandle find, FoundFile& entry) override;
    void FindClose(FindHandle find) override;
    std::uint32_t GetAttributes(const std::string& path) override;
    long SetAttributes(const std::string& path, std::uint32_t attributes) override;
    bool RemoveFile(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    long RemoveError() override { return removeError_; }
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

private:
    struct Listing {
        std::string folder;
        std::vector<FoundFile> entries;
        std::size_t next = 0;
    };

    SimDrive& drive_;
    SimRegistry& registry_;
    long removeError_ = 0;
    std::map<FindHandle, Listing> listings_;
    FindHandle nextHandle_ = 1;
    std::map<WriteHandle, std::string> written_;  // path of each file open for writing
    WriteHandle nextWritten_ = 1;
};

}  // namespace purgent::sim
