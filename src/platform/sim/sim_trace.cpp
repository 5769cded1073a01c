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

}  // namespace purgent::sim
