#pragma once
#include "platform/platform.h"
#include "platform/win32/win32_cursor.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_message_boxes.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_programs.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_windows.h"

namespace purgent {

// Every service of real Windows, and the Platform that hands them out.
struct Win32Platform {
    Win32EnvironmentService environment;
    Win32RegistryService registry;
    Win32MessageBoxService messages;
    Win32CursorService cursor;
    Win32ProgramService programs;
    Win32ProcessService processes;
    Win32WindowService windows;
    Win32TextService text;
    Win32FileService files;
    Platform platform{environment, registry, messages, cursor, programs, processes, windows, text, files};
};

}  // namespace purgent
