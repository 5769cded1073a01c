#pragma once
#include "platform/process_service.h"

namespace purgent {

class Win32ProcessService : public ProcessService {
public:
    LoadedLibrary<ProcessStatusLibrary> LoadProcessStatusLibrary() override;
    LoadedLibrary<ToolhelpLibrary> LoadToolhelpLibrary() override;
    ProcessHandle OpenProcess(std::uint32_t access, std::uint32_t processId) override;
    bool TerminateProcess(ProcessHandle process, std::uint32_t exitCode) override;
    bool FullImageName(ProcessHandle process, std::string& path) override;
    void CloseHandle(ProcessHandle handle) override;
};

}  // namespace purgent
