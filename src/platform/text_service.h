#pragma once
#include <string>

namespace purgent {

// Letter case of ANSI text as the platform's locale converts it
// (CharLowerBuffA / CharUpperBuffA on Windows).
class TextService {
public:
    virtual ~TextService() = default;
    virtual std::string LowerCase(const std::string& text) = 0;
    virtual std::string UpperCase(const std::string& text) = 0;
    // ANSI text as UTF-8 (the run log's encoding).
    virtual std::string ToUtf8(const std::string& text) = 0;
};

}  // namespace purgent
