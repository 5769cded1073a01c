#include "platform/sim/sim_programs.h"

#include "platform/sim/sim_names.h"

namespace purgent::sim {

namespace {

// The program name CreateProcessA takes from a command line: quoted, or up
// to the first blank or tab.
std::string FirstToken(const std::string& commandLine) {
    const auto start = commandLine.find_first_not_of(" \t");
    if (start == std::string::npos) return "";
    if (commandLine[start] == '"') {
        const auto end = commandLine.find('"', start + 1);
        return commandLine.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
    }
    const auto end = commandLine.find_first_of(" \t", start);
    return commandLine.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

bool HasFolder(const std::string& name) { return name.find_first_of("\\/:") != std::string::npos; }

bool HasExtension(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot != std::string::npos && name.find_first_of("\\/", dot) == std::string::npos;
}

std::vector<std::string> SplitList(const std::string& list) {
    std::vector<std::string> items;
    std::string::size_type start = 0;
    while (start <= list.size()) {
        const auto end = std::min(list.find(';', start), list.size());
        if (end > start) items.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

}  // namespace

SimPrograms::SimPrograms(const SimDrive& drive, SimEnvironment& environment, SimRegsvr& regsvr)
    : drive_(drive), environment_(environment), regsvr_(regsvr) {}

bool SimPrograms::IsSystemFile(const std::string& path, const char* name) {
    const auto windir = environment_.Variable("windir");
    return windir && SameName(path, *windir + "\\system32\\" + name);
}

bool SimPrograms::IsSystemTool(const std::string& path) {
    return IsSystemFile(path, "regsvr32.exe") || IsSystemFile(path, "cmd.exe");
}

bool SimPrograms::FileExists(const std::string& path) { return drive_.FileExists(path) || IsSystemTool(path); }

std::string SimPrograms::ShortPathName(const std::string& path) {
    return drive_.Find(path) || IsSystemTool(path) ? path : "";
}

std::string SimPrograms::FindProgram(const std::string& commandLine) {
    std::string name = FirstToken(commandLine);
    if (name.empty()) return "";
    if (!HasExtension(name)) name += ".exe";
    if (HasFolder(name)) return FileExists(name) ? name : "";
    std::vector<std::string> folders;
    if (const auto windir = environment_.Variable("windir")) folders = {*windir + "\\system32", *windir};
    if (const auto path = environment_.Variable("PATH"))
        for (const std::string& folder : SplitList(*path)) folders.push_back(folder);
    for (const std::string& folder : folders) {
        const std::string candidate = folder + (folder.back() == '\\' ? "" : "\\") + name;
        if (FileExists(candidate)) return candidate;
    }
    return "";
}

std::string SimPrograms::StartedProgram(const std::string& application, const std::string& commandLine) {
    return application.empty() ? FindProgram(commandLine) : application;
}

bool SimPrograms::RunAndWait(const std::string& application, const std::string& commandLine) {
    const std::string program = StartedProgram(application, commandLine);
    if (program.empty() || !FileExists(program)) return false;
    if (IsSystemFile(program, "regsvr32.exe")) regsvr_.Run(commandLine);
    return true;
}

void SimPrograms::Sleep(unsigned /*milliseconds*/) {}

void SimPrograms::ExitProcess(int status) { throw SimProcessExit{status}; }

}  // namespace purgent::sim
