#pragma once
#include "platform/environment_service.h"

namespace purgent {

class Win32EnvironmentService : public EnvironmentService {
public:
    std::optional<std::string> Variable(const std::string& name) override;
    std::string CommandLine() override;
    bool PlatformId(std::uint32_t& id) override;
    // The file version of the program's own version resource.
    std::string ProgramVersion() override;
    std::string LocalTime() override;
    std::string ComputerName() override;
    std::string UserName() override;
    std::optional<WindowsRelease> Release() override;
    std::string WindowsDirectory() override;
    // The run's name, and the record of the program folders (win32_run_state.cpp).
    bool HoldRunName() override;
    std::optional<FolderRecord> ReadFolderRecord() override;
    void WriteFolderRecord(const FolderRecord& record) override;
    void RemoveFolderRecord() override;
};

}  // namespace purgent
