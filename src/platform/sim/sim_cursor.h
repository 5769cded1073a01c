#pragma once
#include "platform/cursor_service.h"

namespace purgent::sim {

// Nobody looks at the simulated screen.
class SimCursor : public CursorService {
public:
    void SaveCursor() override {}
    void ShowBusy() override {}
    void RestoreSaved() override {}
};

}  // namespace purgent::sim
