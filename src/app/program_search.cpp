#include "app/program_search.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace purgent {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

bool HasFolder(const std::string& name) { return std::any_of(name.begin(), name.end(), IsSeparator); }

bool HasExtension(const std::string& name) {
    auto fileName = std::find_if(name.rbegin(), name.rend(), IsSeparator).base();
    return std::find(fileName, name.end(), '.') != name.end();
}

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
    });
}

bool IsBatchFile(const std::string& path) { return EndsWithNoCase(path, ".BAT") || EndsWithNoCase(path, ".CMD"); }

// The folders a bare name is looked for in: the current one ("") first, as
// Windows itself starts programs, then each entry of PATH.
std::vector<std::string> SearchFolders(const std::string& program, EnvironmentService& environment) {
    std::vector<std::string> folders{""};
    if (HasFolder(program)) return folders;
    std::string path = environment.Variable("PATH").value_or("");
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = std::min(path.find(';', start), path.size());
        std::string folder = path.substr(start, end - start);
        if (!folder.empty()) {
            if (!IsSeparator(folder.back())) folder += '\\';
            folders.push_back(folder);
        }
        start = end + 1;
    }
    return folders;
}

std::optional<std::string> FindFile(const std::string& program, EnvironmentService& environment,
                                    ProgramService& programs) {
    static const std::vector<std::string> tried{".EXE", ".BAT", ".CMD"};
    static const std::vector<std::string> asGiven{""};
    const auto& extensions = HasExtension(program) ? asGiven : tried;
    for (const std::string& folder : SearchFolders(program, environment)) {
        for (const std::string& extension : extensions) {
            std::string candidate = folder + program + extension;
            if (programs.FileExists(candidate)) return candidate;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<ProgramStart> FindProgram(const std::string& program, const std::string& commandLine,
                                        EnvironmentService& environment, ProgramService& programs) {
    // An empty name would otherwise match a file called ".EXE".
    if (program.empty()) return std::nullopt;
    std::optional<std::string> file = FindFile(program, environment, programs);
    if (!file) return std::nullopt;
    if (!IsBatchFile(*file)) return ProgramStart{*file, commandLine};
    std::optional<std::string> interpreter = environment.Variable("COMSPEC");
    if (!interpreter || interpreter->empty()) return std::nullopt;
    // The interpreter splits an unquoted path at "&", "^", "(", ")" and "%",
    // and drops the first and the last quote of a command after /c that
    // begins with one: the program goes in quotes, the command in one more pair.
    const bool quoted = !commandLine.empty() && commandLine.front() == '"';
    const std::string arguments = commandLine.substr(std::min(commandLine.size(), program.size() + (quoted ? 2 : 0)));
    return ProgramStart{*interpreter, *interpreter + " /c \"\"" + program + '"' + arguments + '"'};
}

}  // namespace purgent
