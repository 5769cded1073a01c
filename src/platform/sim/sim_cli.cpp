#include "platform/sim/sim_cli.h"

namespace purgent::sim {

namespace {

std::optional<std::string>* OptionSlot(SimCliOptions& options, const std::string& name) {
    if (name == "--machine") return &options.machineDir;
    if (name == "--save") return &options.saveDir;
    if (name == "--trace") return &options.traceFile;
    if (name == "--command-line") return &options.commandLine;
    return nullptr;
}

}  // namespace

SimCliOptions ParseSimCli(const std::vector<std::string>& args) {
    SimCliOptions options;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg.rfind("--", 0) != 0) break;
        std::optional<std::string>* slot = OptionSlot(options, arg);
        if (!slot) throw SimCliError{"unknown option " + arg};
        if (*slot) throw SimCliError{"option " + arg + " given twice"};
        if (i + 1 == args.size()) throw SimCliError{"option " + arg + " needs a value"};
        *slot = args[++i];
    }
    options.purgentArguments.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    if (options.commandLine && !options.purgentArguments.empty())
        throw SimCliError{"give Purgent's arguments either with --command-line or after the options, not both"};
    return options;
}

}  // namespace purgent::sim
