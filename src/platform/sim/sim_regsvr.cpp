#include "platform/sim/sim_regsvr.h"

#include <algorithm>

#include "platform/sim/sim_names.h"

namespace purgent::sim {

std::vector<std::string> SplitArguments(const std::string& line) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false, quoted = false;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument) arguments.push_back(current);
            current.clear();
            inArgument = false;
            ++i;
        } else if (c == '\\') {
            // Backslashes are literal unless a quote follows: then 2n of them
            // give n and the quote groups, 2n+1 give n and a literal quote.
            const std::size_t end = std::min(line.find_first_not_of('\\', i), line.size());
            const bool quoteFollows = end < line.size() && line[end] == '"';
            current.append(quoteFollows ? (end - i) / 2 : end - i, '\\');
            const bool escaped = quoteFollows && (end - i) % 2;
            if (escaped) current += '"';
            i = escaped ? end + 1 : end;
            inArgument = true;
        } else {
            if (c == '"') quoted = !quoted;
            else current += c;
            inArgument = true;
            ++i;
        }
    }
    if (inArgument) arguments.push_back(current);
    return arguments;
}

void SimRegsvr::Run(const std::string& commandLine) {
    std::vector<std::string> arguments = SplitArguments(commandLine);
    if (arguments.empty()) return;
    arguments.erase(arguments.begin());  // the tool itself
    bool unregister = false;
    std::vector<std::string> dlls;
    for (const std::string& argument : arguments) {
        if (argument.size() > 1 && (argument[0] == '/' || argument[0] == '-'))
            unregister = unregister || SameName(argument.substr(1), "u");
        else
            dlls.push_back(argument);
    }
    if (!unregister) return;
    for (const std::string& dll : dlls) Unregister(dll);
}

void SimRegsvr::Unregister(const std::string& dll) {
    const image::DriveItem* file = drive_.Find(dll);
    if (!file || file->folder) return;
    for (const image::DllEntry& entry : dlls_)
        if (drive_.Find(entry.path) == file)
            for (const std::string& key : entry.unregisters)
                for (const std::string& deleted : registry_.DeleteTree(key)) keyDeleted_(deleted);
}

}  // namespace purgent::sim
