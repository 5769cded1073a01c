#pragma once

namespace purgent {

// Top-level windows of the desktop: enumeration, titles, classes, close requests.
class WindowService {
public:
    virtual ~WindowService() = default;
};

}  // namespace purgent
