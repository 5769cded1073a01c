#pragma once
#include <string>

#include "platform/file_service.h"

namespace purgent {

// A folder listing (FindFirstFileA, FindNextFileA, FindClose) that keeps
// only the entries whose long name fits its mask. FindFirstFileA also
// matches the 8.3 short name: "GWMSP1*.DLL" finds GWMSP132.DLLX through
// GWMSP1~1.DLL, a file the mask does not name (a renamed copy, another
// product's), and only on volumes that make short names. Every listing the
// cleaning makes goes through here, on Windows and in the simulator alike.
// A mask without wildcards names one entry, by either of its names, as any
// path does: that entry is kept.
class MaskListing {
public:
    MaskListing(FileService& files, const std::string& mask);
    ~MaskListing();
    MaskListing(const MaskListing&) = delete;
    MaskListing& operator=(const MaskListing&) = delete;

    bool HasEntry() const { return hasEntry_; }
    const FoundFile& Entry() const { return entry_; }
    void Next();

private:
    void SkipUnfitting();

    FileService& files_;
    const std::string pattern_;
    FoundFile entry_;  // before find_: the first entry is read while find_ is set
    FindHandle find_;
    bool hasEntry_;
};

}  // namespace purgent
