#include "purgent_sim/sim_cli.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>

#include "image/machine_image.h"
#include "purgent_sim/run_purgent.h"
#include "purgent_sim/trace_summary.h"
#include "shutdown/kill_result_text.h"

namespace purgent::sim {

namespace {
namespace fs = std::filesystem;

std::optional<std::string>* ValueSlot(SimCliOptions& options, const std::string& name) {
    if (name == "--machine") return &options.machineDir;
    if (name == "--save") return &options.saveDir;
    if (name == "--trace") return &options.traceFile;
    if (name == "--command-line") return &options.commandLine;
    return nullptr;
}

bool* FlagSlot(SimCliOptions& options, const std::string& name) {
    if (name == "--summary") return &options.summary;
    if (name == "--help") return &options.help;
    return nullptr;
}

// Whether path is folder or lies inside it, however either is spelt:
// relative, with "..", through a link. A path that cannot be resolved counts.
bool IsWithin(const std::string& path, const std::string& folder) {
    std::error_code errorPath, errorFolder;
    const fs::path canonicalPath = fs::weakly_canonical(fs::u8path(path), errorPath);
    const fs::path canonicalFolder = fs::weakly_canonical(fs::u8path(folder), errorFolder);
    if (errorPath || errorFolder) return true;
    const auto [end, unused] =
        std::mismatch(canonicalFolder.begin(), canonicalFolder.end(), canonicalPath.begin(), canonicalPath.end());
    return end == canonicalFolder.end();
}

// The image is only read: a trace written into it would overwrite one of its
// files, a save into or around it would replace or delete it.
void RefuseWritingIntoTheImage(const SimCliOptions& options) {
    if (!options.machineDir) return;
    const std::string& image = *options.machineDir;
    if (options.traceFile && IsWithin(*options.traceFile, image))
        throw SimCliError{"--trace " + *options.traceFile + " lies inside the image folder"};
    if (options.saveDir && (IsWithin(*options.saveDir, image) || IsWithin(image, *options.saveDir)))
        throw SimCliError{"--save " + *options.saveDir + " is, lies inside or holds the image folder"};
}

int Simulate(const SimCliOptions& options, std::ostream& out, std::ostream& err) {
    const auto fail = [&err](int status, const std::string& message) {
        err << "purgent-sim: " << message << '\n';
        return status;
    };
    std::unique_ptr<SimMachine> machine;
    try {
        image::MachineImage machineImage;
        if (options.machineDir) machineImage = image::LoadMachineImage(*options.machineDir);
        machine = std::make_unique<SimMachine>(std::move(machineImage));
    } catch (const image::ImageError& error) {
        return fail(ExitBadImage, error.what());
    }

    std::ofstream traceFile;
    if (options.traceFile) {
        traceFile.open(*options.traceFile, std::ios::binary);
        if (!traceFile) return fail(ExitCannotWrite, "cannot write " + *options.traceFile);
    }
    if (options.traceFile) machine->Trace().AttachOutput(&traceFile);
    else if (!options.summary) machine->Trace().AttachOutput(&out);

    const int status = options.commandLine ? RunPurgentOnSimCommandLine(*machine, *options.commandLine)
                                           : RunPurgentOnSim(*machine, options.purgentArguments);
    if (options.summary) WriteTraceSummary(machine->Trace().Lines(), KillResultText, out);
    if (options.saveDir) {
        try {
            image::SaveMachineImage(machine->SaveImage(), *options.saveDir);
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
    for (; i < args.size() && args[i] != "--"; ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            options.purgentArguments.push_back(arg);
            continue;
        }
        const auto equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (bool* flag = FlagSlot(options, name)) {
            if (equals != std::string::npos) throw SimCliError{"option " + name + " takes no value"};
            if (*flag) throw SimCliError{"option " + name + " given twice"};
            *flag = true;
            continue;
        }
        std::optional<std::string>* slot = ValueSlot(options, name);
        if (!slot) throw SimCliError{"unknown option " + name};
        if (*slot) throw SimCliError{"option " + name + " given twice"};
        if (equals != std::string::npos)
            *slot = arg.substr(equals + 1);
        else if (i + 1 < args.size())
            *slot = args[++i];
        else
            throw SimCliError{"option " + name + " needs a value"};
    }
    for (++i; i < args.size(); ++i) options.purgentArguments.push_back(args[i]);
    if (options.commandLine && !options.purgentArguments.empty())
        throw SimCliError{"give Purgent's arguments either with --command-line or after the options, not both"};
    return options;
}

int RunSimCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SimCliOptions options;
    try {
        options = ParseSimCli(args);
        if (options.help) {
            out << SimCliUsage;
            return 0;
        }
        RefuseWritingIntoTheImage(options);
    } catch (const SimCliError& error) {
        err << "purgent-sim: " << error.message << '\n' << SimCliUsage;
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
