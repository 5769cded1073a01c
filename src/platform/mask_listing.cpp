#include "platform/mask_listing.h"

#include "platform/file_mask.h"

namespace purgent {

MaskListing::MaskListing(FileService& files, const std::string& mask)
    : files_(files), pattern_(MaskPattern(mask)), find_(files.FindFirst(mask, entry_)), hasEntry_(find_ != NoFind) {
    SkipUnfitting();
}

MaskListing::~MaskListing() {
    if (find_ != NoFind) files_.FindClose(find_);
}

void MaskListing::Next() {
    hasEntry_ = files_.FindNext(find_, entry_);
    SkipUnfitting();
}

void MaskListing::SkipUnfitting() {
    if (!HasWildcards(pattern_)) return;
    while (hasEntry_ && !FitsMask(entry_.name, pattern_)) hasEntry_ = files_.FindNext(find_, entry_);
}

}  // namespace purgent
