// exeinfo.exe <program> <out-file>: writes what Windows reads of a program's
// resources: its version information and its embedded manifest.
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

std::string VersionString(const std::vector<char>& info, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || !length) return "";
    return std::string(value);
}

std::string Manifest(const char* program) {
    const HMODULE module = LoadLibraryExA(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return "";
    std::string text;
    if (const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        const HGLOBAL loaded = LoadResource(module, found);
        text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 64;
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(argv[1], &ignored));
    if (info.empty() || !GetFileVersionInfoA(argv[1], 0, static_cast<DWORD>(info.size()), info.data())) return 1;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length)) return 1;
    std::ofstream out(argv[2], std::ios::binary);
    out << "FileVersion=" << HIWORD(fixed->dwFileVersionMS) << '.' << LOWORD(fixed->dwFileVersionMS) << '.'
        << HIWORD(fixed->dwFileVersionLS) << '.' << LOWORD(fixed->dwFileVersionLS) << '\n';
    for (const char* name : {"ProductName", "CompanyName", "OriginalFilename", "ProductVersion"})
        out << name << '=' << VersionString(info, name) << '\n';
    out << "Manifest=" << Manifest(argv[1]) << '\n';
    return out ? 0 : 1;
}
