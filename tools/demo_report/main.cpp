// purgent-demo-report BEFORE-IMAGE AFTER-IMAGE LISTS-DIR
//   Compares a machine image with the same machine after a run, against the
//   image's bystanders.txt (other programs' items, all to be kept) and
//   kept-client-items.txt (client items that stay, with the reason). Prints
//   one screen and writes the full lists into LISTS-DIR. Exit status 0 when
//   every bystander stayed and every client item that stayed has its reason.
//
// purgent-demo-report --kept BEFORE-IMAGE AFTER-IMAGE
//   Prints every item that the run kept: the start of a new bystanders.txt.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "demo_report.h"

namespace demo = purgent::demo;
namespace image = purgent::image;

namespace {

void WriteList(const std::string& path, const std::vector<demo::Item>& items) {
    std::ofstream out(path);
    for (const demo::Item& item : items) out << demo::ItemLine(item) << '\n';
}

int Run(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--kept") {
        const image::MachineImage seeded = image::LoadMachineImage(argv[2]);
        const std::vector<std::string> scope = image::RegistryScope(seeded.registry);
        const auto before = demo::ItemsOf(seeded, scope);
        const auto after = demo::ItemsOf(image::LoadMachineImage(argv[3]), scope);
        for (const auto& [item, content] : before) {
            const auto now = after.find(item);
            if (now != after.end() && now->second == content) std::cout << demo::ItemLine(item) << '\n';
        }
        return 0;
    }
    if (argc != 4) {
        std::cerr << "usage: purgent-demo-report BEFORE-IMAGE AFTER-IMAGE LISTS-DIR\n"
                     "       purgent-demo-report --kept BEFORE-IMAGE AFTER-IMAGE\n";
        return 64;
    }
    const std::string imageDir = argv[1];
    std::map<demo::Item, std::string> reasons;
    demo::ReadItemList(imageDir + "/kept-client-items.txt", &reasons);
    const demo::Report report =
        demo::Compare(image::LoadMachineImage(imageDir), image::LoadMachineImage(argv[2]),
                      demo::ReadItemList(imageDir + "/bystanders.txt"), reasons);
    demo::PrintSummary(report, std::cout);
    std::filesystem::create_directories(argv[3]);
    WriteList(std::string(argv[3]) + "/went.txt", report.wentItems);
    WriteList(std::string(argv[3]) + "/lost-bystanders.txt", report.lostBystanders);
    return demo::Passed(report) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "purgent-demo-report: " << error.what() << '\n';
        return 65;
    }
}
