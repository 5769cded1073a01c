#pragma once
#include "platform/text_service.h"

namespace purgent {

class Win32TextService : public TextService {
public:
    std::string LowerCase(const std::string& text) override;
    std::string UpperCase(const std::string& text) override;
    std::string ToUtf8(const std::string& text) override;
};

}  // namespace purgent
