// libFuzzer target: one input is read as machine.ini. It must either parse or
// end in an ImageError that names the file and line; what parses must write
// out as text that reads back and writes out the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "image/machine_image.h"

namespace {

void Check(bool holds) {
    if (!holds) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace purgent::image;
    const std::string text(reinterpret_cast<const char*>(data), size);
    MachineIni ini;
    try {
        ini = ParseMachineIni(text, "machine.ini");
    } catch (const ImageError& error) {
        Check(std::string(error.what()).rfind("machine.ini:", 0) == 0);
        return 0;
    }
    const std::string written = WriteMachineIni(ini);
    Check(WriteMachineIni(ParseMachineIni(written, "written")) == written);
    return 0;
}
