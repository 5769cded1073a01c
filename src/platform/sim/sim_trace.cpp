#include "platform/sim/sim_trace.h"

namespace purgent::sim {

std::string TraceField(const std::string& text) {
    std::string field;
    field.reserve(text.size());
    for (char c : text) {
        if (c == '\n')
            field += "\\n";
        else
            field += c;
    }
    return field;
}

void SimTrace::Event(const std::string& name, std::initializer_list<std::string> fields) {
    std::string line = name;
    for (const std::string& field : fields) {
        line += '\t';
        line += TraceField(field);
    }
    lines_.push_back(line);
    if (output_) *output_ << line << '\n' << std::flush;
}

std::vector<std::string> SimTrace::Events(const std::string& name) const {
    std::vector<std::string> fields;
    const std::string prefix = name + '\t';
    for (const std::string& line : lines_)
        if (line.compare(0, prefix.size(), prefix) == 0) fields.push_back(line.substr(prefix.size()));
    return fields;
}

}  // namespace purgent::sim
