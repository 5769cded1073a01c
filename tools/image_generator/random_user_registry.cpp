// The client's traces in one user's registry of a generated workstation.
#include "components/component_tables.h"
#include "random_workstation.h"
#include "registry/user_registry_table.h"

namespace purgent::generator {
namespace {

class UserRegistryTraces {
public:
    UserRegistryTraces(WorkstationBuilder& builder, const KeySink& user)
        : builder_(builder), random_(builder.Random()), user_(user), density_(random_.Pick<int>({0, 20, 50, 80})) {}

    void Add(bool messenger) {
        const UserRegistryTable& t = UserRegistry();
        Tree("\\AppEvents\\EventLabels\\NGD_Ringin");
        Tree("\\AppEvents\\Schemes\\Apps\\ConvPlace\\NGD_Ringin\\.Current");
        for (const std::string& path : t.keyTrees) Tree(path);
        if (Present())
            Key(t.msxmlAssemblies, {Maybe(Text(t.msxmlValue, "x")), Maybe(Text(t.msxmlResourceValue, "y")),
                                    Text("Microsoft.VC80.CRT", "z")});
        if (Present())
            Key(t.handoffPriorities,
                {builder_.ReadText("RequestMakeCall", random_.Pick<std::string>({"GroupWise", "Novell GROUPWISE 8", "Dialer"}))});
        AddMessagingProfiles(t);
        for (const std::string& extension : t.openWithExtensions)
            if (Present())
                Key(t.fileExts + extension + "\\OpenWithList",
                    {builder_.ReadText("a", "GrpWise.exe"), Text("b", "notepad.exe"), Text("c", "grpwise.exe"),
                     Text("MRUList", "abc")});
        Tree(t.groupWiseSettings);
        Tree(t.spellChecker);
        Tree(t.userWordList);
        if (messenger) AddMessenger();
    }

private:
    bool Present() { return random_.Percent(density_); }

    image::RegistryValue Maybe(image::RegistryValue value) {
        if (random_.Percent(30)) value.name = LookAlike(random_, value.name);
        return value;
    }

    void Key(const std::string& path, Values values = {}) { builder_.Key(user_, path, std::move(values)); }

    void Tree(const std::string& path) {
        if (Present()) {
            Key(path, {Text("", "GroupWise"), Number("Count", 2)});
            if (random_.Percent(50)) Key(path + "\\Options", {Text("Color", "blue")});
            builder_.MaybeDenied(user_, path);
        }
        if (random_.Percent(density_ / 3)) {
            const std::string parent = path.substr(0, path.rfind('\\') + 1);
            Key(parent + LookAlike(random_, path.substr(parent.size())), {Text("", "Other product")});
        }
    }

    // The two MAPI profile keys: the client's profiles, another's, and which
    // one is the default.
    void AddMessagingProfiles(const UserRegistryTable& t) {
        for (const std::string& profiles : t.messagingProfiles) {
            if (!Present()) continue;
            Key(profiles, {builder_.ReadText("DefaultProfile", random_.Pick<std::string>({"Novell GroupWise", "Outlook", "Mail"}))});
            if (Present()) Key(profiles + t.novellDefaultSettings + "\\0a0d020000000000c000000000000046", {Number("x", 1)});
            if (Present()) Key(profiles + t.novellDefaultSettings + "\\13dbb0c8aa05101a9bb000aa002fc45a");
            if (Present()) Key(profiles + "\\Outlook\\9375CFF0413111d3B88A00104B2A6676", {Number("y", 2)});
            if (Present()) Key(profiles + "\\" + LookAlike(random_, "Novell GroupWise"), {Number("z", 3)});
        }
    }

    void AddMessenger() {
        const MessengerTable& t = MessengerCatalogue();
        for (const std::string& path : t.userKeys) Tree(path);
        for (const UserValue& value : t.userValues)
            if (Present()) Key(value.key, {Text(value.name, "C:\\Novell\\Messenger\\nmcl32.exe"), Text("Other", "kept")});
    }

    WorkstationBuilder& builder_;
    RandomSource& random_;
    KeySink user_;
    const int density_;
};

}  // namespace

void AddUserRegistry(WorkstationBuilder& builder, const KeySink& user, bool messenger) {
    UserRegistryTraces(builder, user).Add(messenger);
}

}  // namespace purgent::generator
