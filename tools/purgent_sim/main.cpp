// purgent-sim: runs Purgent's cleaning on a simulated workstation described
// by a machine image and prints what happened as a trace.
#include <exception>
#include <fstream>
#include <iostream>

#include "image/machine_image.h"
#include "platform/sim/run_purgent.h"
#include "platform/sim/sim_cli.h"

using namespace purgent;

namespace {

int Fail(int status, const std::string& message) {
    std::cerr << "purgent-sim: " << message << '\n';
    return status;
}

int Simulate(const sim::SimCliOptions& options) {
    image::MachineImage machineImage;
    try {
        if (options.machineDir) machineImage = image::LoadMachineImage(*options.machineDir);
    } catch (const image::ImageError& error) {
        return Fail(sim::ExitBadImage, error.what());
    }
    sim::SimMachine machine(std::move(machineImage));

    std::ofstream traceFile;
    if (options.traceFile) {
        traceFile.open(*options.traceFile, std::ios::binary);
        if (!traceFile) return Fail(sim::ExitCannotWrite, "cannot write " + *options.traceFile);
        machine.Trace().AttachOutput(&traceFile);
    } else {
        machine.Trace().AttachOutput(&std::cout);
    }

    const int status = options.commandLine
                           ? sim::RunPurgentOnSimCommandLine(machine, *options.commandLine)
                           : sim::RunPurgentOnSim(machine, options.purgentArguments);
    if (options.saveDir) {
        try {
            image::SaveMachineImage(machine.SaveImage(), *options.saveDir);
        } catch (const std::exception& error) {
            return Fail(sim::ExitCannotWrite, error.what());
        }
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    sim::SimCliOptions options;
    try {
        options = sim::ParseSimCli(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const sim::SimCliError& error) {
        std::cerr << "purgent-sim: " << error.message << '\n' << sim::SimCliUsage << '\n';
        return sim::ExitUsage;
    }
    try {
        return Simulate(options);
    } catch (const std::exception& error) {
        return Fail(sim::ExitInternal, error.what());
    }
}
