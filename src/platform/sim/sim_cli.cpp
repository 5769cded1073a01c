#include "platform/sim/sim_cli.h"

#include <exception>
#include <fstream>

#include "image/machine_image.h"
#include "platform/sim/run_purgent.h"

namespace purgent::sim {

namespace {

std::optional<std::string>* OptionSlot(SimCliOptions& options, const std::string& name) {
    if (name == "--machine") return &options.machineDir;
    if (name == "--save") return &options.saveDir;
    if (name == "--trace") return &options.traceFile;
    if (name == "--command-line") return &options.commandLine;
    return nullptr;
}

int Simulate(const SimCliOptions& options, std::ostream& out, std::ostream& err) {
    const auto fail = [&err](int status, const std::string& message) {
        err << "purgent-sim: " << message << '\n';
        return status;
    };
    image::MachineImage machineImage;
    try {
        if (options.machineDir) machineImage = image::LoadMachineImage(*options.machineDir);
    } catch (const image::ImageError& error) {
        return fail(ExitBadImage, error.what());
    }
    SimMachine machine(std::move(machineImage));

    std::ofstream traceFile;
    if (options.traceFile) {
        traceFile.open(*options.traceFile, std::ios::binary);
        if (!traceFile) return fail(ExitCannotWrite, "cannot write " + *options.traceFile);
    }
    machine.Trace().AttachOutput(options.traceFile ? &traceFile : &out);

    const int status = options.commandLine ? RunPurgentOnSimCommandLine(machine, *options.commandLine)
                                           : RunPurgentOnSim(machine, options.purgentArguments);
    if (options.saveDir) {
        try {
            image::SaveMachineImage(machine.SaveImage(), *options.saveDir);
        } catch (const std::exception& error) {
            return fail(ExitCannotWrite, error.what());
        }
    }
    return status;
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

int RunSimCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SimCliOptions options;
    try {
        options = ParseSimCli(args);
    } catch (const SimCliError& error) {
        err << "purgent-sim: " << error.message << '\n' << SimCliUsage << '\n';
        return ExitUsage;
    }
    try {
        return Simulate(options, out, err);
    } catch (const std::exception& error) {
        err << "purgent-sim: " << error.what() << '\n';
        return ExitInternal;
    }
}

}  // namespace purgent::sim
