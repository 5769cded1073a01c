#pragma once
#include "platform/program_service.h"

namespace purgent {

class Win32ProgramService : public ProgramService {
public:
    std::string ShortPathName(const std::string& path) override;
    bool RunAndWait(const std::string& application, const std::string& commandLine) override;
    bool FileExists(const std::string& path) override;
    void Sleep(unsigned milliseconds) override;
    [[noreturn]] void ExitProcess(int status) override;
};

}  // namespace purgent
