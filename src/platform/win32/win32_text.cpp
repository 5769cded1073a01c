#include "platform/win32/win32_text.h"

#include <windows.h>

namespace purgent {

// Converted in place on a copy, by length, so embedded NULs are kept.
std::string Win32TextService::LowerCase(const std::string& text) {
    std::string result = text;
    if (!result.empty()) CharLowerBuffA(&result[0], static_cast<DWORD>(result.size()));
    return result;
}

std::string Win32TextService::ToUtf8(const std::string& text) {
    if (text.empty()) return text;
    const int length = static_cast<int>(text.size());
    const int wideSize = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), wideSize);
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::string Win32TextService::UpperCase(const std::string& text) {
    std::string result = text;
    if (!result.empty()) CharUpperBuffA(&result[0], static_cast<DWORD>(result.size()));
    return result;
}

}  // namespace purgent
