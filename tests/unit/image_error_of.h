#pragma once
#include <string>

#include "image/machine_image.h"

namespace purgent::image {

// The message of the ImageError that action throws, or "no error".
template <typename Action>
std::string ImageErrorOf(Action action) {
    try {
        action();
    } catch (const ImageError& error) {
        return error.what();
    }
    return "no error";
}

}  // namespace purgent::image
