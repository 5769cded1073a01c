#pragma once
// Regedit's UTF-8 text written key by key, for a registry held otherwise
// than as RegistryKeys (WriteRegText writes those).
#include <cstdint>
#include <string>
#include <string_view>

#include "image/machine_image.h"

namespace purgent::image {

class RegTextWriter {
public:
    RegTextWriter();
    void Reserve(std::size_t bytes) { text_.reserve(bytes); }

    // "[path]", or "[-path]" for a deleted key; its values follow.
    void Key(const std::string& path, bool deleted = false);
    void Value(const std::string& name, std::uint32_t type, const Bytes& data);
    void DeletedValue(const std::string& name);

    std::string Text() && { return std::move(text_); }

private:
    void Quoted(std::string_view ansi);
    // "name=": the quoted name, or @ for the default value.
    void ValueName(const std::string& name);
    // The bytes as a comma-separated hex list after what the line holds so
    // far, wrapped as regedit wraps it.
    void HexList(const Bytes& bytes, std::size_t lineStart);

    std::string text_;
};

}  // namespace purgent::image
