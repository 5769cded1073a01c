#pragma once

namespace purgent {

// Listing and terminating processes (process-status library on NT, toolhelp
// snapshots on 9x).
class ProcessService {
public:
    virtual ~ProcessService() = default;
};

}  // namespace purgent
