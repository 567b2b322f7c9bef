#include "hints.h"
#include "scriptcheck.h"
#include "settings.h"
#include "shippedlists.h"
#include "templates.h"
#include "testsupport.h"
#include "vocabulary.h"

#include <gtest/gtest.h>
#include <set>

namespace {
const std::string kProgram = std::string(VELMORA_PROGRAM_DIR) + "/";

} // namespace

class ShippedData : public WorldTest {};

TEST_F(ShippedData, EveryListIsShippedAndLoadsInItsLayout) {
    EXPECT_EQ(std::size(kLists), 45u);
    for (const auto& [name, layout] : kLists) {
        SCOPED_TRACE(name);
        try {
            const auto lines = LoadVocabulary(kProgram, name);
            EXPECT_FALSE(lines.empty());
            const auto items = layout == TLayout::Coded   ? CodedItems(lines, 0, name)
                               : layout == TLayout::Spell ? SpellItems(lines, name)
                                                          : FlagItems(lines, 0);
            for (const auto& item : items)
                EXPECT_FALSE(item.Text.empty());
        } catch (const TVocabularyError& e) {
            ADD_FAILURE() << Cp1251ToUtf8(e.Message);
        }
    }
}

TEST_F(ShippedData, TemplatesHintsAndSettingsLoadWithoutAFailure) {
    TObjTemplet objects;
    TMobTemplet mobs;
    TShopTemplet shops;
    TTrigTemplet triggers;
    TRoomTemplet rooms;
    EXPECT_TRUE(LoadTemplates(objects, kProgram + "Bases/Template_Obj"));
    EXPECT_TRUE(LoadTemplates(mobs, kProgram + "Bases/Template_Mob"));
    EXPECT_TRUE(LoadTemplates(shops, kProgram + "Bases/Template_Shop"));
    EXPECT_TRUE(LoadTemplates(triggers, kProgram + "Bases/Template_Trigger"));
    EXPECT_TRUE(LoadTemplates(rooms, kProgram + "Bases/Template_Room"));
    EXPECT_TRUE(Reporter.Messages.empty()) << Reporter.Messages.front();
    EXPECT_GE(objects.Count(), 6);
    EXPECT_GE(mobs.Count(), 3);
    EXPECT_GE(shops.Count(), 1);
    EXPECT_GE(triggers.Count(), 3);
    EXPECT_GE(rooms.Count(), 3);

    const auto hints = LoadHints(kProgram + "Help/Hints");
    ASSERT_TRUE(hints.has_value());
    std::set<std::string> controls;
    for (const auto& hint : *hints)
        controls.insert(hint.Control);
    EXPECT_EQ(controls.size(), kHintKeyCount); // every key of the table has its hint

    const TSettings settings = ReadSettings(TProfileFile(kProgram + "VelmoraEd.ini"));
    EXPECT_EQ(settings.Coding, 0);
    EXPECT_EQ(settings.Crlf, 0);
    EXPECT_EQ(settings.Path, "LIB/world/");
    EXPECT_TRUE(settings.Status && settings.Confirm && settings.Tools);
    EXPECT_FALSE(settings.Position);
}

// The script language ships as a list of its own, and the trigger templates'
// skeletons are scripts it finds nothing wrong with.
TEST_F(ShippedData, ScriptCommandsLoadAndTheTemplateScriptsCheckClean) {
    std::string error;
    const auto language = TScriptLanguage::Load(kProgram + "Bases/ScriptCommands", &error);
    ASSERT_TRUE(language) << Cp1251ToUtf8(error);
    EXPECT_TRUE(language->Knows("wecho", TAttachKind::Room));
    EXPECT_FALSE(language->Knows("wecho", TAttachKind::Mob));
    EXPECT_TRUE(language->KnowsVariable("actor", TAttachKind::Obj));

    TTrigTemplet triggers;
    ASSERT_TRUE(LoadTemplates(triggers, kProgram + "Bases/Template_Trigger"));
    int scripts = 0;
    for (int i = 0; i < triggers.Count(); ++i) {
        const TTrigger& trigger = triggers.Record(i);
        if (trigger.Text.empty())
            continue;
        ++scripts;
        const TScriptContext context{nullptr, &*language, nullptr};
        EXPECT_EQ(CheckScript(ScriptLines(trigger.Text), static_cast<TAttachKind>(trigger.Model),
                              trigger.Flags, context),
                  std::vector<TScriptProblem>{})
            << Cp1251ToUtf8(triggers.Name(i));
    }
    EXPECT_GE(scripts, 6); // greetings of each kind, command, random, death
}
