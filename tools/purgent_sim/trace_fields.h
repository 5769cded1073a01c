#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace purgent::sim {

// A trace line's event name.
std::string EventName(const std::string& line);

// The fields after a line's event name, always count of them (missing ones
// empty); the last keeps any tab of its own (a value's data may hold one).
std::vector<std::string> EventFields(const std::string& line, std::size_t count);

// A profile event's entry as a reader names it: its folder, or what an empty
// one means at its position.
std::string ProfileLabel(const std::string& position, const std::string& folder);

}  // namespace purgent::sim
