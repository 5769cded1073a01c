#include "ui/win32/jpeg_decoder.h"

// No <windows.h> in this file: its `boolean` differs from libjpeg's.
#include <csetjmp>
#include <cstdio>
#include <utility>

#include <jpeglib.h>

namespace purgent::ui {
namespace {

// libjpeg's default error handler ends the process; jump back out instead.
struct ErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void JumpOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

// Only trivially destructible locals live in this frame, so the longjmp of the
// error handler may come back to it.
bool DecodeInto(const std::uint8_t* data, std::size_t size, DecodedPicture& result) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JumpOnError;
    errors.manager.output_message = IgnoreMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);

    result.width = static_cast<int>(info.output_width);
    result.height = static_cast<int>(info.output_height);
    result.stride = (result.width * 3 + 3) & ~3;
    result.pixels.assign(static_cast<std::size_t>(result.stride) * result.height, 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = result.pixels.data() + static_cast<std::size_t>(info.output_scanline) *
                                                  result.stride;
        jpeg_read_scanlines(&info, &row, 1);
        for (int x = 0; x < result.width; ++x) std::swap(row[3 * x], row[3 * x + 2]);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

bool DecodeJpeg(const std::uint8_t* data, std::size_t size, DecodedPicture& picture) {
    DecodedPicture result;
    if (!DecodeInto(data, size, result)) return false;
    picture = std::move(result);
    return true;
}

}  // namespace purgent::ui
