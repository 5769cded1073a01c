#pragma once
#include <map>
#include <set>
#include <string>

#include "platform/platform.h"

namespace purgent {

// Where Windows really puts a folder or file the run is about to work in.
// Paths come from the registry, from profiles and from catalogues, and any
// folder on their way may be a junction or symbolic link that leads
// elsewhere: a user's documents, the Windows folder, another drive. The run
// works in a folder only when every link on its way is one of Windows' own
// compatibility junctions, and never follows or removes a link it finds in
// one. Each refusal is told to the run log once (EnvironmentService::Kept).
// Verdicts are kept for the guard's life, one run.
class LinkGuard {
public:
    explicit LinkGuard(Platform& platform)
        : files_(platform.files), text_(platform.text), environment_(platform.environment) {}

    // Whether the run may list, purge, remove or delete named files in folder.
    bool MayWorkIn(const std::string& folder);
    // Where the folder lies, the compatibility junctions on its way resolved;
    // "" when the run may not work in it.
    std::string FinalPath(const std::string& folder);
    // Whether path names a link itself (a junction, a symbolic link to a
    // folder or a file), which the run neither follows nor removes.
    bool IsLink(const std::string& path);
    // Tells the run log, once per path and run, that path was left alone
    // on purpose, and why.
    void Kept(const std::string& path, const std::string& reason);

private:
    struct Verdict {
        bool allowed = true;
        std::string final;  // where it lies
        std::string link;   // refused: the link on the way, and where it leads
        std::string target;
    };

    // The path Windows will use: full, long names, no trailing separator.
    std::string Resolved(const std::string& path);
    const Verdict& Judge(const std::string& path);
    Verdict JudgeBelow(const Verdict& parent, const std::string& path, const std::string& name);
    bool Same(const std::string& a, const std::string& b);

    FileService& files_;
    TextService& text_;
    EnvironmentService& environment_;
    std::map<std::string, Verdict> judged_;  // by upper-cased resolved path
    std::set<std::string> kept_;             // upper-cased paths noted
};

}  // namespace purgent
