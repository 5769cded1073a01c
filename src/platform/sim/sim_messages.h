#pragma once
#include "platform/message_box_service.h"

namespace purgent::sim {

// Every box is answered with OK at once.
class SimMessages : public MessageBoxService {
public:
    void ShowMessage(const std::string&) override {}
    void ShowError(const std::string&) override {}
};

}  // namespace purgent::sim
