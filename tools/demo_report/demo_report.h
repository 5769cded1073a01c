#pragma once
// What a run did to a machine image, told the way an administrator asks:
// per kind, how many of the client's items went, whether every bystander
// (another program's item) stayed unchanged, and which client items stayed
// and why.
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "image/machine_image.h"

namespace purgent::demo {

// The kinds of item, in the order the report shows them.
enum class Kind { Key, Value, File, Folder, ComRegistration, HiveKey };

// One item of a machine: its kind and its identity ("HKEY_...\\Key",
// "HKEY_...\\Key\tvalue name", "C:\\file", "C:\\...\\ntuser.dat\tHKEY_CURRENT_USER\\Key").
struct Item {
    Kind kind;
    std::string id;
    bool operator<(const Item& other) const;
};

// Every item of an image with a fingerprint of its content (value data, file
// contents and attributes), so that a changed item is told from a kept one.
// Registry keys count within scope: the keys a machine image names, with
// their subtrees (what a machine read back holds).
std::map<Item, std::string> ItemsOf(const image::MachineImage& machine, const std::vector<std::string>& scope);

// "kind<TAB>id" lines; kept-client lines carry a reason as a last field.
std::vector<Item> ReadItemList(const std::string& path, std::map<Item, std::string>* reasons = nullptr);
std::string ItemLine(const Item& item);

struct Report {
    std::map<Kind, int> went;
    std::map<Kind, int> changed;
    std::map<Kind, int> bystanders;
    std::vector<Item> lostBystanders;  // gone or changed
    std::vector<std::pair<Item, std::string>> stayedClientItems;  // with the reason, "" if none recorded
    std::vector<Item> wentItems;
};

Report Compare(const image::MachineImage& before, const image::MachineImage& after,
               const std::vector<Item>& bystanders, const std::map<Item, std::string>& keptReasons);

// One line of the counts: how many of a kind went, changed, and of the
// bystanders listed how many stayed unchanged.
struct KindCounts {
    Kind kind;
    std::string label;  // "registry keys"
    int went = 0;
    int changed = 0;
    int bystandersKept = 0;
    int bystanders = 0;
};
// Every kind, in the order the report shows them.
std::vector<KindCounts> CountsPerKind(const Report& report);

// One screen: a line per kind, the client items that stayed, the verdict.
void PrintSummary(const Report& report, std::ostream& out);
// True when every bystander stayed and every client item that stayed has a reason.
bool Passed(const Report& report);

}  // namespace purgent::demo
