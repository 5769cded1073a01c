#pragma once
#include <functional>

#include "platform/message_box_service.h"

namespace purgent::ui {

// Runs one of the program's handlers from the window code. An exception that
// got this far must not unwind through the system's window code: it is shown
// in the error box instead, as the handler's unexpected failure.
void RunGuarded(MessageBoxService& messages, const std::function<void()>& handler);

}  // namespace purgent::ui
