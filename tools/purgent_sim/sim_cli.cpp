#include "purgent_sim/sim_cli.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>

#include "image/ansi_text.h"
#include "image/machine_image.h"
#include "app/command_line.h"
#include "purgent_sim/run_purgent.h"
#include "purgent_sim/run_report.h"
#include "platform/sim/sim_environment.h"
#include "purgent_sim/trace_summary.h"
#include "shutdown/kill_result_text.h"

namespace purgent::sim {

const char* const SimCliHelp =
    "Runs purgent.exe's cleaning on a simulated workstation, a machine image, and prints\n"
    "what the program did to it, one event a line: a preview of a run on a real machine.\n"
    "\n"
    "Options (a value may also follow an equals sign: --machine=DIR):\n"
    "  --machine DIR        the machine image to run on; without it, a bare NT workstation\n"
    "  --save DIR           after the run, write the machine as it is then, as an image, to DIR\n"
    "  --trace FILE         write the trace to FILE; stdout has it only without --summary and --report\n"
    "  --summary            print a short account of the run instead of the trace\n"
    "  --report FILE.html   write the run as one HTML page instead of printing the trace: the machine,\n"
    "                       the date, the version and options, verdict, counts, what goes and what\n"
    "                       stays, bystanders (the image's bystanders.txt), locations\n"
    "  --cut-after N        end the run right after its N-th change (N >= 1), as if it were killed:\n"
    "                       nothing after it happens; --save keeps the machine as it is then\n"
    "  --command-line TEXT  Purgent's arguments as one raw Windows command line\n"
    "  --help, -h           print this help (-h only as the one argument)\n"
    "  --version            print the version\n"
    "  --                   everything after it is Purgent's\n"
    "Before \"--\", an argument that begins with \"--\" is an option; any other is Purgent's.\n"
    "\n"
    "Exit status:\n"
    "  0 to 4  Purgent's own: 0 completed, 1 halted, 2 error, 3 invalid command line,\n"
    "          4 another run in progress\n"
    "  64      usage error\n"
    "  65      the image folder does not exist or cannot be read (the message names the file and line)\n"
    "  70      internal error\n"
    "  73      the trace file, the report or the save folder cannot be written\n"
    "  137     the run was cut by --cut-after\n"
    "\n"
    "Examples:\n"
    "  purgent-sim --summary --machine demo/workstation --report preview.html -- /sn\n"
    "  purgent-sim --machine image --save cleaned --trace trace.txt /s \"/la-C:\\Install\\setup.exe /q\"\n";

namespace {
namespace fs = std::filesystem;

std::optional<std::string>* ValueSlot(SimCliOptions& options, const std::string& name) {
    if (name == "--machine") return &options.machineDir;
    if (name == "--save") return &options.saveDir;
    if (name == "--trace") return &options.traceFile;
    if (name == "--report") return &options.reportFile;
    if (name == "--command-line") return &options.commandLine;
    if (name == "--cut-after") return &options.cutAfter;
    return nullptr;
}

bool* FlagSlot(SimCliOptions& options, const std::string& name) {
    if (name == "--summary") return &options.summary;
    if (name == "--help") return &options.help;
    if (name == "--version") return &options.version;
    return nullptr;
}

// The number of --cut-after: decimal digits, 1 or more.
std::size_t ChangesBeforeCut(const std::string& text) {
    std::size_t changes = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), changes);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || changes == 0)
        throw SimCliError{"--cut-after needs a number of changes, 1 or more, not \"" + text + "\""};
    return changes;
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
    if (options.reportFile && IsWithin(*options.reportFile, image))
        throw SimCliError{"--report " + *options.reportFile + " lies inside the image folder"};
    if (options.saveDir && (IsWithin(*options.saveDir, image) || IsWithin(image, *options.saveDir)))
        throw SimCliError{"--save " + *options.saveDir + " is, lies inside or holds the image folder"};
}

// The local date and time, as a page tells when it was made.
std::string LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[sizeof "2000-01-01 00:00:00"];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

// args: purgent-sim's own, which the report page repeats.
int Simulate(const SimCliOptions& options, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err) {
    const auto fail = [&err](int status, const std::string& message) {
        err << "purgent-sim: " << message << '\n';
        return status;
    };
    // Nothing to read is not the same as something unreadable: a script can
    // tell a mistyped folder from a broken image.
    if (options.machineDir && !fs::exists(fs::u8path(*options.machineDir)))
        return fail(ExitBadImage, *options.machineDir + ": no such folder");
    std::unique_ptr<SimMachine> machine;
    image::MachineImage before;  // kept for the report only
    ImageLists lists;
    try {
        image::MachineImage machineImage;
        if (options.machineDir) machineImage = image::LoadMachineImage(*options.machineDir);
        if (options.reportFile) {
            before = machineImage;
            if (options.machineDir) lists = ReadImageLists(*options.machineDir);
        }
        machine = std::make_unique<SimMachine>(std::move(machineImage));
    } catch (const image::ImageError& error) {
        return fail(ExitBadImage, error.what());
    }

    std::ofstream traceFile;
    if (options.traceFile) {
        traceFile.open(*options.traceFile, std::ios::binary);
        if (!traceFile) return fail(ExitCannotWrite, "cannot write " + *options.traceFile);
    }
    std::ofstream reportFile;
    if (options.reportFile) {
        reportFile.open(*options.reportFile, std::ios::binary);
        if (!reportFile) return fail(ExitCannotWrite, "cannot write " + *options.reportFile);
    }
    if (options.cutAfter) machine->CutAfter(ChangesBeforeCut(*options.cutAfter));
    if (options.traceFile) machine->Trace().AttachOutput(&traceFile);
    else if (!options.summary && !options.reportFile) machine->Trace().AttachOutput(&out);

    const int status = options.commandLine ? RunPurgentOnSimCommandLine(*machine, *options.commandLine)
                                           : RunPurgentOnSim(*machine, options.purgentArguments);
    if (options.summary) WriteTraceSummary(machine->Trace().Lines(), KillResultText, out);
    if (options.reportFile) {
        const std::string title = "purgent.exe " +
                                  (options.commandLine ? *options.commandLine : QuoteArguments(options.purgentArguments)) +
                                  " on " + options.machineDir.value_or("a bare NT workstation");
        report::ReportPage page =
            ReportPageOf(image::TextFileToAnsi(title), machine->Trace().Lines(), machine->Trace().FailureNotes(),
                         machine->Trace().KeptNotes(), before, machine->SaveImage(), lists);
        page.machine = MachineNameOf(before, options.machineDir);
        page.made = LocalTimeNow();
        page.version = SimProgramVersion;
        page.commandLine = image::TextFileToAnsi("purgent-sim " + QuoteArguments(args));
        report::WriteReportPage(page, reportFile);
        if (!reportFile.flush()) return fail(ExitCannotWrite, "cannot write " + *options.reportFile);
    }
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
    // "-h" beside other arguments stays Purgent's argument, as every argument
    // not beginning with "--" is: only alone can it mean nothing else.
    if (args.size() == 1 && args.front() == "-h") {
        options.help = true;
        return options;
    }
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
        // A folder or file named by nothing is a mistyped option, not a path.
        if ((*slot)->empty() && name != "--command-line") throw SimCliError{"option " + name + " needs a value"};
    }
    for (++i; i < args.size(); ++i) options.purgentArguments.push_back(args[i]);
    if (options.commandLine && !options.purgentArguments.empty())
        throw SimCliError{"give Purgent's arguments either with --command-line or after the options, not both"};
    if (options.cutAfter) ChangesBeforeCut(*options.cutAfter);
    return options;
}

int RunSimCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SimCliOptions options;
    try {
        options = ParseSimCli(args);
        if (options.help) {
            out << SimCliUsage << '\n' << SimCliHelp;
            return 0;
        }
        if (options.version) {
            out << "purgent-sim " << SimProgramVersion << '\n';
            return 0;
        }
        RefuseWritingIntoTheImage(options);
    } catch (const SimCliError& error) {
        err << "purgent-sim: " << error.message << '\n' << SimCliUsage;
        return ExitUsage;
    }
    try {
        return Simulate(options, args, out, err);
    } catch (const std::exception& error) {
        err << "purgent-sim: " << error.what() << '\n';
        return ExitInternal;
    }
}

}  // namespace purgent::sim
