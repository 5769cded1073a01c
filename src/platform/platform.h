#pragma once
#include "platform/cursor_service.h"
#include "platform/environment_service.h"
#include "platform/file_service.h"
#include "platform/message_box_service.h"
#include "platform/process_service.h"
#include "platform/program_service.h"
#include "platform/registry_service.h"
#include "platform/text_service.h"
#include "platform/window_service.h"

namespace purgent {

// Every machine service the program uses; one backend is real Windows, one the
// simulated workstation.
struct Platform {
    EnvironmentService& environment;
    RegistryService& registry;
    MessageBoxService& messages;
    CursorService& cursor;
    ProgramService& programs;
    ProcessService& processes;
    WindowService& windows;
    TextService& text;
    FileService& files;
};

}  // namespace purgent
