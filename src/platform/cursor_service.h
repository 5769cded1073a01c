#pragma once

namespace purgent {

// The global mouse cursor.
class CursorService {
public:
    virtual ~CursorService() = default;
    virtual void SaveCursor() = 0;
    virtual void ShowBusy() = 0;
    virtual void RestoreSaved() = 0;
};

}  // namespace purgent
