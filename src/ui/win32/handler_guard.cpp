#include "ui/win32/handler_guard.h"

#include <exception>

namespace purgent::ui {

void RunGuarded(MessageBoxService& messages, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        messages.ShowError(error.what());
    }
}

}  // namespace purgent::ui
