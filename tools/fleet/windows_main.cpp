// purgent-fleet.exe: the arguments as Windows passes them (UTF-16) taken as
// UTF-8, and the console set to show the UTF-8 the report prints while it runs.
#include <windows.h>

#include <iostream>
#include <string>
#include <vector>

#include "fleet_cli.h"

namespace {

std::string Utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return "";
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    utf8.pop_back();  // the terminating NUL
    return utf8;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Utf8(argv[i]));
    const UINT consoleCodePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
    const int status = purgent::fleet::RunFleet(args, std::cout, std::cerr);
    std::cout.flush();
    SetConsoleOutputCP(consoleCodePage);  // the console outlives the program
    return status;
}
