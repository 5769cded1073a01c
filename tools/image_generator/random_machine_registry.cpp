// The machine-wide registry catalogues of a generated workstation: each key,
// value and default of the tables present or not, with look-alikes beside.
#include "components/component_tables.h"
#include "random_workstation.h"
#include "registry/machinewide_tables.h"

namespace purgent::generator {
namespace {

const char* const kClasses = "\\Software\\Classes";

class MachineRegistry {
public:
    MachineRegistry(WorkstationBuilder& builder, const Layout& layout)
        : builder_(builder), random_(builder.Random()), layout_(layout), density_(random_.Pick<int>({10, 30, 60})) {}

    void Add() {
        Trees(ClassRegistrations().trees);
        for (const std::string& extension : ClassRegistrations().extensionKeys)
            Tree(ClassRegistrations().classesKey + "\\" + extension);
        AddApplicationEntries();
        AddWebServicesEntries();
        AddClassesRoot();
        AddMessenger();
    }

private:
    // A catalogue key with values and a subkey of its own, now and then a
    // look-alike sibling of another product.
    void Tree(const std::string& path) {
        if (random_.Percent(density_)) {
            builder_.Key(builder_.Machine(), path, {Text("", "GroupWise"), Text("Vendor", "Novell")});
            if (random_.Percent(50)) builder_.Key(builder_.Machine(), path + "\\Settings", {Number("Level", 3)});
            builder_.MaybeDenied(builder_.Machine(), path);
        }
        if (random_.Percent(density_ / 3)) {
            const std::string parent = path.substr(0, path.rfind('\\') + 1);
            builder_.Key(builder_.Machine(), parent + LookAlike(random_, path.substr(parent.size())),
                         {Text("", "Other product"), Number("Installed", 1)});
        }
    }

    void Trees(const CatalogueKeys& keys) {
        for (const CatalogueKey& key : keys) Tree(key.path);
    }

    void Trees(const Names& paths, const std::string& prefix = "") {
        for (const std::string& path : paths) Tree(prefix + path);
    }

    // Some of the named values in the key, beside values of other products.
    void NamedValues(const std::string& key, const Names& names, const image::RegistryValue& data) {
        if (!random_.Percent(density_ + 20)) return;
        Values values;
        for (const std::string& name : names) {
            if (random_.Percent(50)) values.push_back({name, data.type, data.data, false});
            if (random_.Percent(10)) values.push_back({LookAlike(random_, name), data.type, data.data, false});
        }
        values.push_back(Text("Other product", "kept"));
        builder_.Key(builder_.Machine(), key, values);
        builder_.MaybeDenied(builder_.Machine(), key);
    }

    // A key whose default names the client (a marker in it) or another program.
    void Handler(const std::string& key, const Names& markers) {
        if (!random_.Percent(density_ + 20)) return;
        const std::string text = random_.Percent(60) ? "C:\\Novell\\" + random_.Pick(markers) + ".exe \"%1\""
                                                     : "C:\\Program Files\\Mail\\mail.exe \"%1\"";
        builder_.Key(builder_.Machine(), key, {builder_.ReadText("", text), Text("Other", random_.Pick(markers))});
        builder_.MaybeDenied(builder_.Machine(), key);
    }

    void AddApplicationEntries() {
        const ApplicationEntriesTable& t = ApplicationEntries();
        Trees(t.appPaths);
        const InstallLocations& l = layout_.locations;
        Names folderNames = {l.UserPrograms + t.userProgramsFolder, "C:\\Program Files\\Other\\"};
        for (const std::string& folder : t.groupWiseFolders) folderNames.push_back(l.GroupWiseDir + folder);
        NamedValues(t.installerFolders, folderNames, Text("", ""));
        NamedValues(t.folderNamesKey, {"C:\\Program Files\\Novell\\GroupWise\\", "C:\\Temp\\{" + t.folderNameMarkers[1] + "}\\",
                                    "C:\\Program Files\\groupwise\\"}, Text("", ""));
        Trees(t.upgradeCodeAndSystemProduct);
        AddInstallerData(t);
        Trees(t.uninstallEntries);
        Trees(t.helpEntries);
        Trees(t.novellKeys);
        Handler(t.contactFileType.path, t.contactFileType.markers);
        Trees(t.mailNewsAndUninstall);
        for (const std::string& key : t.freeBusyKeys) NamedValues(key, {t.freeBusyValue, "MSN"}, Text("", "http://free/busy"));
        Trees(t.systemComponentTrees);
        for (const std::string& code : t.systemComponentCodes)
            if (random_.Percent(density_ / 2)) NamedValues(t.systemComponents + code, {t.secondProduct}, Text("", "C:\\x.dll"));
        Trees(t.secondProductRecords);
    }

    // Installer components shared with other products: the client's value
    // beside others', or alone with an empty default, and the product records.
    void AddInstallerData(const ApplicationEntriesTable& t) {
        for (const char* account : {"S-1-5-18", "S-1-5-21-1957994488-1482476501-1644491937-1003"}) {
            if (!random_.Percent(density_ + 20)) continue;
            const std::string base = t.installerUserData + "\\" + account;
            for (int component = 0; component < 1 + random_.Below(4); ++component) {
                Values values;
                if (random_.Percent(70)) values.push_back(Text(t.clientProduct, "C:\\Novell\\GroupWise\\grpwise.exe"));
                if (random_.Percent(50)) values.push_back(Text("00B1CD5C9E1F5A14B8C9D1F2E3A4B5C6", "C:\\Other\\x.dll"));
                if (random_.Percent(30)) values.push_back(Text("", ""));
                const std::string key = base + t.componentsKey + "\\" + std::string(32 - 1, 'A') +
                                        std::to_string(component);
                builder_.Key(builder_.Machine(), key, values);
                if (random_.Percent(15)) builder_.Key(builder_.Machine(), key + "\\Sub");
                builder_.MaybeDenied(builder_.Machine(), key);
            }
            Tree(base + t.productsKey + t.clientProduct);
        }
    }

    void AddWebServicesEntries() {
        const WebServicesEntriesTable& t = WebServicesEntries();
        NamedValues(t.helpFiles.path, t.helpFiles.names, Text("", "C:\\windows\\help"));
        Trees(t.webServicesTrees);
        NamedValues(t.sharedDlls,
                 {"C:\\Novell\\GroupWise\\gwenv1.dll", "C:\\windows\\system32\\gwcma1.dll",
                  "C:\\Program Files\\Common Files\\Corel\\wt61us.dll", "C:\\windows\\system32\\msxml4.dll",
                  "C:\\windows\\system32\\mfc42.dll", "C:\\Program Files\\Grow\\gr.dll"},
                 Number("", 1));
        for (const DefaultHandler& handler : t.defaultHandlers) Handler(handler.path, handler.markers);
        NamedValues(t.mapiApps.path, t.mapiApps.names, Text("", "1"));
    }

    void AddClassesRoot() {
        const ClassesRootTable& t = ClassesRoot();
        for (const DefaultHandler& handler : t.defaultHandlers)
            Handler(kClasses + handler.path, handler.markers);
        for (const CatalogueKey& key : t.trees)
            Tree(key.path.front() == '\\' ? kClasses + key.path : std::string(kClasses) + "\\" + key.path);
        NamedValues(kClasses + t.assemblies, {t.msxmlAssembly, t.msxmlResourceAssembly, "Microsoft.VC80.CRT"},
                 Text("", "assembly"));
    }

    void AddMessenger() {
        if (!layout_.messenger) return;
        const MessengerTable& t = MessengerCatalogue();
        Trees(t.classesRootKeys, kClasses);
        Trees(t.machineKeys);
        Trees(t.machineClassKeys);
        Tree(t.explorerExtension);
        if (random_.Percent(70))
            builder_.Key(builder_.Machine(), t.imClients,
                         {builder_.ReadText("", random_.Percent(60) ? t.imDefault : "Other Messenger")});
    }

    WorkstationBuilder& builder_;
    RandomSource& random_;
    const Layout& layout_;
    const int density_;
};

}  // namespace

void AddMachineRegistry(WorkstationBuilder& builder, const Layout& layout) { MachineRegistry(builder, layout).Add(); }

}  // namespace purgent::generator
