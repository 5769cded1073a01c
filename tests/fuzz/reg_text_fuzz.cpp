// libFuzzer target: one input is read as a registry.reg document and as a
// hive file (UTF-8, or UTF-16LE after a BOM). It must either parse or end in
// an ImageError that names the file and line; what parses must leave a net
// registry behind that writes out and reads back as the same registry.
#include <cstddef>
#include <cstdint>
#include <string>

#include "image/machine_image.h"

namespace {

using namespace purgent::image;

void Check(bool holds) {
    if (!holds) __builtin_trap();
}

void CheckError(const ImageError& error, const std::string& source) {
    Check(std::string(error.what()).rfind(source + ":", 0) == 0);
}

template <class Parse>
void FuzzDocument(const Bytes& bytes, const std::string& source, Parse parse) {
    RegistryKeys keys;
    try {
        keys = parse(bytes, source);
    } catch (const ImageError& error) {
        return CheckError(error, source);
    }
    const RegistryKeys net = NetRegistry(keys);
    const std::string written = WriteRegText(net);
    Check(SameRegistry(ParseRegText(Bytes(written.begin(), written.end()), "written"), net));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes bytes(data, data + size);
    FuzzDocument(bytes, "registry.reg", ParseRegText);
    FuzzDocument(bytes, "ntuser.dat", ParseHiveText);
    return 0;
}
