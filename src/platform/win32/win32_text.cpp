#include "platform/win32/win32_text.h"

#include <windows.h>

namespace purgent {

// Converted in place on a copy, by length, so embedded NULs are kept.
std::string Win32TextService::LowerCase(const std::string& text) {
    std::string result = text;
    if (!result.empty()) CharLowerBuffA(&result[0], static_cast<DWORD>(result.size()));
    return result;
}

std::string Win32TextService::UpperCase(const std::string& text) {
    std::string result = text;
    if (!result.empty()) CharUpperBuffA(&result[0], static_cast<DWORD>(result.size()));
    return result;
}

}  // namespace purgent
