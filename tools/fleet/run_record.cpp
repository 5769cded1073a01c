#include "run_record.h"

namespace purgent::fleet {

std::string RunRecord::Field(std::string_view label) const {
    for (const auto& [name, value] : header)
        if (name == label) return value;
    return "";
}

}  // namespace purgent::fleet
