#pragma once
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace purgent::sim {

// The record of what the simulated machine saw: one event a line, fields
// separated by one tab, line breaks inside a field written as the two
// characters \n, everything else verbatim. Lines are kept in memory and,
// when an output stream is attached, written there as they happen.
class SimTrace {
public:
    void AttachOutput(std::ostream* output) { output_ = output; }

    void Event(const std::string& name, std::initializer_list<std::string> fields = {});

    const std::vector<std::string>& Lines() const { return lines_; }
    // The fields (tab-joined, as written) of every line of one event.
    std::vector<std::string> Events(const std::string& name) const;

private:
    std::ostream* output_ = nullptr;
    std::vector<std::string> lines_;
};

// A field as it appears in a trace line.
std::string TraceField(const std::string& text);

}  // namespace purgent::sim
