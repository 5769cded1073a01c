#include "random_workstation.h"

namespace purgent::generator {

void AddRegistryLinks(WorkstationBuilder& builder, const Layout& layout) {
    RandomSource& random = builder.Random();
    const std::string groupWise = random.Pick<std::string>({"\\Software\\Novell\\GroupWise", "\\Software\\Novell\\GroupWise 5.5"});
    const bool toBystander = random.Percent(50);
    const bool fromUser = random.Percent(40);
    const bool toItself = random.Percent(30);
    const bool twoKeyLoop = random.Percent(25);
    if (toBystander || fromUser) {
        // Another program's key with a subkey, each with a value.
        const std::string bystander = "\\Software\\" + random.Pick<std::string>({"Contoso", "Fabrikam", "Northwind"});
        builder.Key(builder.Machine(), bystander + "\\Settings", {Text("Owner", "another program")});
        builder.Key(builder.Machine(), bystander + "\\Settings\\Profiles", {Number("Count", 2)});
        const std::string target = "HKEY_LOCAL_MACHINE" + bystander + "\\Settings";
        if (toBystander) builder.Link(builder.Machine(), groupWise + "\\Shared", target);
        const KeySink& user = layout.userHives[static_cast<std::size_t>(random.Below(static_cast<int>(layout.userHives.size())))];
        if (fromUser) builder.Link(user, "\\Software\\Novell\\GroupWise\\Machine", target);
    }
    // Loops where a link can name its own registry: the machine's keys or the
    // logged-on user's (a hive file's link names wherever the user's hive
    // was loaded when it was made).
    const bool inMachine = random.Percent(50);
    const KeySink sink = inMachine ? builder.Machine() : builder.CurrentUser();
    const std::string key = inMachine ? groupWise : "\\Software\\Novell\\Spell Checker";
    const std::string path = sink.root + key;
    if (toItself) builder.Link(sink, key + "\\Loop", random.Percent(50) ? path : path + "\\Loop");
    if (twoKeyLoop) {
        builder.Link(sink, key + "\\LoopA", path + "\\LoopB");
        builder.Link(sink, key + "\\LoopB", path + "\\LoopA");
    }
}

}  // namespace purgent::generator
