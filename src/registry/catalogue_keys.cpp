#include "registry/catalogue_keys.h"

namespace purgent {

KeyTable& KeyTable::Key(const char* path, KeyGuard guard) {
    keys_.push_back({path, guard});
    return *this;
}

KeyTable& KeyTable::Under(const char* prefix, std::initializer_list<KeyName> names) {
    for (const KeyName& name : names) keys_.push_back({std::string(prefix) + name.text, name.guard});
    return *this;
}

}  // namespace purgent
