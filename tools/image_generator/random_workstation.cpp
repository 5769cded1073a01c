#include "random_workstation.h"

#include <cctype>

namespace purgent::generator {

std::string LookAlike(RandomSource& random, const std::string& name) {
    if (name.empty() || random.Percent(40)) return name + random.Pick<std::string>({"X", "2", " Old", ".bak"});
    std::string alike = name;
    // The last letter or digit changes; braces and dots stay.
    for (auto it = alike.rbegin(); it != alike.rend(); ++it) {
        if (!std::isalnum(static_cast<unsigned char>(*it))) continue;
        *it = *it == 'Z' || *it == 'z' || *it == '9' ? static_cast<char>(*it - 1) : static_cast<char>(*it + 1);
        break;
    }
    return alike;
}

RandomMachine RandomWorkstation(std::uint64_t seed) {
    WorkstationBuilder builder(seed);
    const Layout layout = AddLayout(builder);
    AddMachineRegistry(builder, layout);
    for (const KeySink& user : layout.userHives) AddUserRegistry(builder, user, layout.messenger);
    AddUserRegistry(builder, builder.DefaultUser(), layout.messenger);
    AddClientFiles(builder, layout);
    AddComponents(builder, layout);
    // Now and then a hive still mounted under the program's own name, as a
    // run killed before its unload leaves it; then links. Each drawn after
    // everything before it, so that the rest of a seed's workstation stays
    // what it was before they were drawn.
    if (builder.Random().Percent(10))
        builder.Key(builder.LoadedHive("Purgent.UserHive"), "\\Software\\Novell\\GroupWise",
                    {Text("Left", "by a run that was killed")});
    AddLinks(builder, layout);
    // Drawn after the mount and the folder links, for the same reason.
    AddRegistryLinks(builder, layout);
    return {builder.Finish(), builder.Bystanders()};
}

}  // namespace purgent::generator
