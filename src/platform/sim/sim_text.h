#pragma once
#include "platform/text_service.h"

namespace purgent::sim {

// The simulated workstation runs with the Windows-1252 code page.
class SimText : public TextService {
public:
    std::string LowerCase(const std::string& text) override;
    std::string UpperCase(const std::string& text) override;
    std::string ToUtf8(const std::string& text) override;
};

}  // namespace purgent::sim
