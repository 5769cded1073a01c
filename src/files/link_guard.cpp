#include "files/link_guard.h"

#include "files/compatibility_junctions.h"

namespace purgent {

namespace {

bool IsDriveRoot(const std::string& path) { return path.size() == 2 && path[1] == ':'; }

// "\\server\share": no folder above it.
bool IsShareRoot(const std::string& path) {
    if (path.rfind("\\\\", 0) != 0) return false;
    const auto share = path.find('\\', 2);
    return share != std::string::npos && path.find('\\', share + 1) == std::string::npos;
}

}  // namespace

std::string LinkGuard::Resolved(const std::string& path) {
    std::string full = files_.FullPathName(path);
    if (full.empty()) full = path;
    const std::string longForm = files_.LongPathName(full);
    if (!longForm.empty()) full = longForm;
    while (full.size() > 1 && full.back() == '\\' && !IsDriveRoot(full.substr(0, full.size() - 1))) full.pop_back();
    if (full.size() == 3 && full[1] == ':') full.pop_back();  // "C:\" is the drive "C:"
    return full;
}

bool LinkGuard::Same(const std::string& a, const std::string& b) {
    std::string left = a, right = b;
    while (!left.empty() && left.back() == '\\') left.pop_back();
    while (!right.empty() && right.back() == '\\') right.pop_back();
    return text_.UpperCase(left) == text_.UpperCase(right);
}

const LinkGuard::Verdict& LinkGuard::Judge(const std::string& path) {
    const std::string key = text_.UpperCase(path);
    if (const auto found = judged_.find(key); found != judged_.end()) return found->second;
    Verdict verdict{true, path, "", ""};
    const auto slash = path.rfind('\\');
    if (!IsDriveRoot(path) && !IsShareRoot(path) && slash != std::string::npos && slash > 0) {
        const Verdict parent = Judge(path.substr(0, slash));
        verdict = parent.allowed ? JudgeBelow(parent, path, path.substr(slash + 1)) : parent;
    }
    return judged_[key] = verdict;
}

LinkGuard::Verdict LinkGuard::JudgeBelow(const Verdict& parent, const std::string& path, const std::string& name) {
    const std::string here = parent.final + "\\" + name;
    const std::uint32_t attributes = files_.GetAttributes(path);
    if (attributes == NoSuchFile || !(attributes & FileAttrReparsePoint)) return {true, here, "", ""};
    const std::string target = files_.FinalPathName(path);
    // A link onto itself (a volume mounted there) lies where it is written.
    if (!target.empty() && (Same(target, here) || IsCompatibilityJunction(text_, parent.final, name, target)))
        return {true, target, "", ""};
    return {false, "", path, target};
}

bool LinkGuard::MayWorkIn(const std::string& folder) {
    const Verdict& verdict = Judge(Resolved(folder));
    if (verdict.allowed) return true;
    const std::string leads = verdict.target.empty() ? "somewhere Windows does not tell" : verdict.target;
    Kept(folder, Same(verdict.link, Resolved(folder)) ? "a link to " + leads
                                                     : "below " + verdict.link + ", a link to " + leads);
    return false;
}

std::string LinkGuard::FinalPath(const std::string& folder) {
    const Verdict& verdict = Judge(Resolved(folder));
    return verdict.allowed ? verdict.final : "";
}

bool LinkGuard::IsLink(const std::string& path) {
    const std::string resolved = Resolved(path);
    const auto slash = resolved.rfind('\\');
    if (slash == std::string::npos) return false;
    const std::uint32_t attributes = files_.GetAttributes(resolved);
    std::string leads;
    if (attributes != NoSuchFile && (attributes & FileAttrReparsePoint)) {
        leads = files_.FinalPathName(resolved);
        if (leads.empty()) leads = "somewhere Windows does not tell";
    } else {
        // Wine shows a symbolic link to a file as a plain file; only where it
        // leads tells it apart.
        const std::string final = files_.FinalPathName(resolved);
        const Verdict& folder = Judge(resolved.substr(0, slash));
        if (final.empty() || !folder.allowed || Same(final, folder.final + resolved.substr(slash))) return false;
        // A 32-bit run on 64-bit Windows sees SysWOW64 under the name
        // system32: a file lies where its folder truly leads.
        const std::string folderFinal = files_.FinalPathName(resolved.substr(0, slash));
        if (!folderFinal.empty() && Same(final, folderFinal + resolved.substr(slash))) return false;
        leads = final;
    }
    Kept(path, "a link to " + leads);
    return true;
}

void LinkGuard::Kept(const std::string& path, const std::string& reason) {
    // A purge names its folder with a trailing separator, the removal after
    // it without: one folder, one note, named without it.
    std::string named = path;
    while (named.size() > 3 && named.back() == '\\') named.pop_back();
    if (kept_.insert(text_.UpperCase(named)).second) environment_.Kept(named, reason);
}

}  // namespace purgent
