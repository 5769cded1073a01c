#include "platform/sim/sim_text.h"

#include <gtest/gtest.h>

#include "image/ansi_text.h"

namespace purgent::sim {
namespace {

std::string Ansi(const std::string& utf8) { return image::Utf8ToAnsi(utf8); }

TEST(SimText, ConvertsTheLettersOfTheAnsiCodePage) {
    SimText text;
    EXPECT_EQ(text.LowerCase("C:\\WINDOWS\\System32\\GWENV1.DLL"), "c:\\windows\\system32\\gwenv1.dll");
    EXPECT_EQ(text.LowerCase(Ansi("ÀÉÎÕÜÞ ŠŒŽŸ")), Ansi("àéîõüþ šœžÿ"));
    EXPECT_EQ(text.UpperCase(Ansi("àéîõüþ šœžÿ")), Ansi("ÀÉÎÕÜÞ ŠŒŽŸ"));
    EXPECT_EQ(text.UpperCase("groupwise 5.5"), "GROUPWISE 5.5");
}

TEST(SimText, LeavesSignsAndCaselessLettersAlone) {
    SimText text;
    const std::string signs = Ansi("×÷ßµ0-9_\\{}");
    EXPECT_EQ(text.LowerCase(signs), signs);
    EXPECT_EQ(text.UpperCase(signs), signs);
    const std::string withNul("A\0B", 3);
    EXPECT_EQ(text.LowerCase(withNul), std::string("a\0b", 3));
}

}  // namespace
}  // namespace purgent::sim
