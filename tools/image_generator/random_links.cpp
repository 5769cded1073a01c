// What leads a run away from the client on a generated workstation: a
// client folder that is a link to a user's or another program's folder, a
// file link in the program folder, App Paths naming a folder the client does
// not own (a user's documents or desktop, Office's folder, the Windows
// folder through a link, a data folder on another drive), and a client left
// half uninstalled on another drive. What lies there is a bystander.
#include "components/component_tables.h"
#include "files/file_tables.h"
#include "files/path_template.h"
#include "random_workstation.h"

namespace purgent::generator {
namespace {

const char* const kAppPaths = "\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

struct Folder {
    std::string path;
    std::vector<std::string> files;
};

// Where a profile keeps its documents, by the layout of its folder.
std::string Documents(const Layout& layout, std::size_t profile) {
    const std::string& folder = layout.profileFolders[profile];
    return folder + (folder.rfind("C:\\Users\\", 0) == 0 ? "\\Documents" : "\\My Documents");
}

std::string Desktop(const Layout& layout) {
    return layout.locations.UserDesktop.empty() ? layout.profileFolders.front() + "\\Desktop" : layout.locations.UserDesktop;
}

class Links {
public:
    Links(WorkstationBuilder& builder, const Layout& layout)
        : builder_(builder), random_(builder.Random()), layout_(layout) {}

    void Add() {
        if (random_.Percent(12)) LinkClientFolder();
        if (random_.Percent(8)) LinkProgramFile();
        if (random_.Percent(15)) PointAppPaths("GrpWise.exe", GroupWiseFolder());
        if (layout_.messenger && random_.Percent(8)) PointAppPaths("nmcl32.exe", ForeignFolder());
    }

private:
    // The folder, its files bystanders.
    std::string Kept(const Folder& folder) {
        builder_.Folder(folder.path);
        for (const std::string& file : folder.files) builder_.Bystander(folder.path + "\\" + file);
        return folder.path;
    }

    // A user's documents, another program's folder on C:, a data folder on D:.
    std::string LinkTarget() {
        const std::size_t profile = static_cast<std::size_t>(random_.Below(static_cast<int>(layout_.profileFolders.size())));
        switch (random_.Below(3)) {
            case 0: return Kept({Documents(layout_, profile), {"thesis.docx", "taxes.xls"}});
            case 1: return Kept({"C:\\Important2", {"hr.doc", "payroll.xls"}});
            default: return Kept({"D:\\Data", {"budget.xls", "contacts.csv"}});
        }
    }

    // A fixed folder of the client: one the program folder holds, a
    // profile's Messenger history or the client's local data.
    void LinkClientFolder() {
        const std::string& program = layout_.locations.GroupWiseDir;
        std::vector<std::string> folders = {program + "GWCheck", program + "PPForms", program + "OFViews\\WIN"};
        const std::size_t profile = static_cast<std::size_t>(random_.Below(static_cast<int>(layout_.profileNames.size())));
        const std::string drive = layout_.locations.WindowsDrive;
        if (layout_.messenger) {
            const MessengerTable& t = MessengerCatalogue();
            folders.push_back(AtOwnProfileFolder(layout_, profile,
                                                 drive + t.profilesFolder + layout_.profileNames[profile] + t.dataFolder) +
                              "\\history\\admin");
        }
        PathFields fields(layout_.locations);
        fields.Set("P", layout_.profileNames[profile]);
        folders.push_back(AtOwnProfileFolder(layout_, profile, fields.Expand(Shortcuts().localData)));
        const std::string link = random_.Pick(folders);
        builder_.Link(link, LinkTarget());
    }

    void LinkProgramFile() {
        const std::string target = LinkTarget() + "\\manual.txt";
        builder_.Bystander(target);
        builder_.Link(layout_.locations.GroupWiseDir + "manual.txt", target);
    }

    // A folder that holds no client: a user's documents or desktop, Office's
    // folder, a data folder on another drive.
    std::string ForeignFolder() {
        switch (random_.Below(4)) {
            case 0: return Kept({Documents(layout_, 0), {"thesis.doc", "taxes.xls", "helper.dll"}});
            case 1: return Kept({Desktop(layout_), {"Budget.xls", "photo.jpg"}});
            case 2: return Kept({"C:\\Program Files\\Microsoft Office\\OFFICE11", {"EXCEL.EXE", "WINWORD.EXE", "mso.dll"}});
            default: return Kept({"D:\\Data", {"budget.xls", "contacts.csv"}});
        }
    }

    // One of those, the Windows folder through a link, or a client partly
    // uninstalled on another drive: its DLLs and programs left, grpwise.exe gone.
    std::string GroupWiseFolder() {
        switch (random_.Below(6)) {
            case 0:
                Kept({"C:\\windows", {"setupact.log", "WindowsUpdate.log"}});
                builder_.Link("C:\\GW", "C:\\windows");
                return "C:\\GW";
            case 1: {
                const std::string folder = "D:\\Apps\\GroupWise";
                for (const char* dll : {"gwenv1.dll", "gwcma1.dll"}) builder_.ComServer(folder + "\\" + dll);
                for (const char* file : {"gwcheck.exe", "notify.exe", "gwtip32.dll"}) builder_.File(folder + "\\" + file);
                return folder;
            }
            default: return ForeignFolder();
        }
    }

    void PointAppPaths(const char* program, const std::string& folder) {
        const std::string path = random_.Percent(50) ? folder + "\\" : folder;
        builder_.Key(builder_.Machine(), std::string(kAppPaths) + program,
                     {Text("", folder + "\\" + program), Text("Path", path)});
    }

    WorkstationBuilder& builder_;
    RandomSource& random_;
    const Layout& layout_;
};

}  // namespace

void AddLinks(WorkstationBuilder& builder, const Layout& layout) { Links(builder, layout).Add(); }

}  // namespace purgent::generator
