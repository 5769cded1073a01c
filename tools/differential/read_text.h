#pragma once
#include <fstream>
#include <sstream>
#include <string>

namespace purgent::differential {

// A whole file as it is; "" when it cannot be read.
inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace purgent::differential
