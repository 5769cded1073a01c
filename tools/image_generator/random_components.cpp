// COM servers and Messenger's files on a generated workstation.
#include "components/component_tables.h"
#include "random_workstation.h"

namespace purgent::generator {
namespace {

// COM servers in the folder of each deregistration pass (a name the pass's
// mask matches only through its short name now and then), and others' servers.
void AddComServers(WorkstationBuilder& builder, const Layout& layout) {
    RandomSource& random = builder.Random();
    const DllDeregistrationTable& t = DllCatalogue();
    const std::vector<std::string> names = {"gwcma1.dll", "gwenv1.dll", "GWTIP32.DLL", "gwold.dllx", t.exclusions[0],
                                            t.exclusions[1]};
    for (const DllPass& pass : t.clientPasses) {
        const std::string folder = layout.locations.*pass.base + pass.subfolder;
        if (folder.size() < 3 || folder[1] != ':') continue;
        const std::string separator = folder.back() == '\\' ? "" : "\\";
        for (const std::string& name : names)
            if (random.Percent(25)) builder.ComServer(folder + separator + name);
    }
    if (layout.messenger) {
        const std::string folder = layout.locations.*MessengerCatalogue().dllPass.base;
        for (const char* name : {"nmapi.dll", "nmcom.dll"})
            if (random.Percent(40)) builder.ComServer(folder + name);
    }
    if (random.Percent(50)) builder.ComServer("C:\\Program Files\\WinZip\\wzshlext.dll");
    if (random.Percent(30)) builder.ComServer("C:\\windows\\system32\\vendorcom.dll");
}

std::string Located(const Layout& layout, std::string InstallLocations::*base, const std::string& literal) {
    return layout.locations.*base + literal;
}

void AddMessengerFiles(WorkstationBuilder& builder, const Layout& layout) {
    RandomSource& random = builder.Random();
    const MessengerTable& t = MessengerCatalogue();
    const std::string& folder = layout.locations.MessengerDir;
    for (const char* name : {"nmcl32.exe", "readme.txt", "nmcl32.ini"})
        if (random.Percent(60)) builder.File(folder + name);
    if (random.Percent(50)) builder.File(folder + t.logFiles + "\\nm0001.log");
    for (const LocatedPath& path : t.shortcuts) {
        const std::string located = Located(layout, path.base, path.literal);
        if (located.size() < 3 || located[1] != ':' || !random.Percent(40)) continue;
        if (path.action == PathAction::DeleteIfExists) builder.File(located);
        else builder.Folder(located);
        if (random.Percent(15)) builder.File(located.substr(0, located.rfind('\\') + 1) + "Other Program.lnk");
    }
    const std::string drive = layout.locations.WindowsDrive;
    for (std::size_t profile = 0; profile < layout.profileNames.size(); ++profile) {
        if (!random.Percent(50)) continue;
        const std::string data =
            AtOwnProfileFolder(layout, profile, drive + t.profilesFolder + layout.profileNames[profile] + t.dataFolder);
        builder.File(data + "\\settings.xml");
        for (const std::string& subfolder : t.dataSubfolders)
            if (random.Percent(50)) builder.File(data + subfolder + "\\chat.log");
    }
    if (random.Percent(40)) builder.File(drive + t.installerInfo + "\\setup.ilg");
}

}  // namespace

void AddComponents(WorkstationBuilder& builder, const Layout& layout) {
    AddComServers(builder, layout);
    if (layout.messenger) AddMessengerFiles(builder, layout);
}

}  // namespace purgent::generator
