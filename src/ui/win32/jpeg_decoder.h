#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace purgent::ui {

// A decoded picture: rows top-down, 3 bytes a pixel in blue-green-red order,
// each row padded to a multiple of 4 bytes (a 24-bit device-independent bitmap).
struct DecodedPicture {
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<std::uint8_t> pixels;
};

// Decodes a JPEG held in memory; false when it is not a readable JPEG.
bool DecodeJpeg(const std::uint8_t* data, std::size_t size, DecodedPicture& picture);

}  // namespace purgent::ui
