#include "hints.h"
#include "testsupport.h"

#include <gtest/gtest.h>
#include <ostream>
#include <set>
inline void PrintTo(const THint& hint, std::ostream* os) {
    *os << hint.Control << "=" << Cp1251ToUtf8(hint.Text);
}

TEST(Hints, TableHasUniqueKeysAndControls) {
    std::set<std::string> keys, controls;
    for (const auto& key : kHintKeys) {
        keys.insert(key.Key);
        controls.insert(key.Control);
    }
    EXPECT_EQ(keys.size(), kHintKeyCount);
    EXPECT_EQ(controls.size(), kHintKeyCount);
}

TEST(Hints, LinesGiveTheirControlsTheirText) {
    const auto hints = ParseHints(W("O_Price: Цена в монетах\r\n"
                                    "O_Weight:Вес\r\n"
                                    " O_Timer: not at the start\r\n"
                                    "R_ExitNPanel Выход на север\r\n"
                                    "R_ExitEPanel: с двоеточием\r\n"
                                    "unknown: x\r\n"
                                    "\r\n"
                                    "R_FullDesc10: десятый\r\n"
                                    "R_FullDesc1: первый\r\n"
                                    "O_Price: later wins\r\n"));
    EXPECT_EQ(hints, (std::vector<THint>{
                         {"O_PriceEdit", W("Цена в монетах")},
                         {"O_WeightEdit", W("ес")}, // no separator: the first letter goes
                         {"R_ExitNPanel", W("Выход на север")},
                         {"R_ExitEPanel", W(" с двоеточием")},
                         {"R_FullDescMemo10", W("десятый")}, // "R_FullDesc1:" is no prefix of it
                         {"R_FullDescMemo1", W("первый")},
                         {"O_PriceEdit", "later wins"}}));
}

TEST(Hints, MissingFileAndBuiltIns) {
    EXPECT_FALSE(LoadHints("/nonexistent/Help/Hints").has_value());
    const auto builtIn = BuiltInHints();
    EXPECT_EQ(builtIn.size(), 12u);
    EXPECT_EQ(builtIn[0], (THint{"R_MFolComboBox", W("За кем моб следует")}));
}
