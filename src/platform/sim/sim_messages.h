#pragma once
#include "platform/message_box_service.h"
#include "platform/sim/sim_trace.h"

namespace purgent::sim {

// Every box is answered with OK at once and recorded.
class SimMessages : public MessageBoxService {
public:
    explicit SimMessages(SimTrace& trace) : trace_(trace) {}
    void ShowMessage(const std::string& text) override { trace_.Event("message", {text}); }
    void ShowError(const std::string& text) override { trace_.Event("error", {text}); }

private:
    SimTrace& trace_;
};

}  // namespace purgent::sim
