// The trigger script checks on small scripts, one rule at a time, with a
// language table of a few commands.

#include "checks.h"
#include "scriptcheck.h"
#include "testsupport.h"

namespace {

using A = TAttachKind;

class ScriptCheck : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        WriteBytes(Dir / "ScriptCommands",
                   Crlf({"* a comment line", "wait\t012", "set\t012", "eval\t012", "attach\t012",
                         "calcuid\t012", "mecho\t0", "mload\t0", "say\t0", "oecho\t1", "wecho\t2",
                         "wechoaround\t2", "wload\t2", "%actor%\t012", "%self%\t012", "%echo%\t012",
                         "%speech%\t02"}));
        std::string error;
        auto loaded = TScriptLanguage::Load(PathOf("ScriptCommands"), &error);
        ASSERT_TRUE(loaded) << Cp1251ToUtf8(error);
        Language = std::move(*loaded);
    }

    // "line: message" of each problem, lines from 1, in UTF-8.
    std::vector<std::string> Check(const std::vector<std::string>& script, A kind,
                                   const std::unordered_set<std::string>* shared = nullptr) {
        const TWorldView view = World.View();
        const TScriptContext context{&view, &Language, shared};
        std::vector<std::string> out;
        for (const TScriptProblem& problem : CheckScript(W(script), kind, "c0", context))
            out.push_back(std::to_string(problem.Line + 1) + ": " + Cp1251ToUtf8(problem.Message));
        return out;
    }

    TScriptLanguage Language;
};

using Lines = std::vector<std::string>;

TEST_F(ScriptCheck, BlockWordsPairAsTheServerPairsThem) {
    // An "if" pairs with its "end" apart from the loops; "endif" ends an
    // "if" as the server reads it; break leaves the innermost loop.
    const auto words =
        ScriptBlocks({"if a", "  while b", "  elseif c", "    switch d", "    case 1",
                      "      break", "    done", "  endif", "done", "* end", "END"});
    std::vector<std::tuple<int, TBlockRole, std::string, int>> got;
    for (const TBlockWord& word : words)
        got.emplace_back(word.Line, word.Role, word.Word, word.Partner);
    const auto O = TBlockRole::Open, M = TBlockRole::Middle, C = TBlockRole::Close;
    EXPECT_EQ(got,
              (std::vector<std::tuple<int, TBlockRole, std::string, int>>{{0, O, "if", 7},
                                                                          {1, O, "while", 8},
                                                                          {2, M, "elseif", 0},
                                                                          {3, O, "switch", 6},
                                                                          {4, M, "case", 3},
                                                                          {5, M, "break", 3},
                                                                          {6, C, "done", 3},
                                                                          {7, C, "endif", 0},
                                                                          {8, C, "done", 1},
                                                                          {10, C, "END", -1}}));
}

TEST_F(ScriptCheck, BlocksThatDoNotPairAreErrors) {
    EXPECT_EQ(Check({"if %actor%", "  mecho hi", "end"}, A::Mob), Lines{});
    EXPECT_EQ(Check({"if %actor%", "  mecho hi"}, A::Mob),
              Lines{"1: «if» не закрыт: нет его «end»"});
    EXPECT_EQ(Check({"mecho hi", "end", "else"}, A::Mob),
              (Lines{"2: «end» без «if»: закрывать нечего", "3: «else» вне блока «if»"}));
    EXPECT_EQ(
        Check({"switch %self%", "  case 1", "  break", "end"}, A::Mob),
        (Lines{"1: «switch» не закрыт: нет его «done»", "4: «end» без «if»: закрывать нечего"}));
    EXPECT_EQ(Check({"case 1", "default", "break", "done"}, A::Mob),
              (Lines{"1: «case» вне «switch»", "2: «default» вне «switch»",
                     "3: «break» вне «switch», «while» и «foreach»",
                     "4: «done» без «while», «switch» или «foreach»: закрывать нечего"}));
}

TEST_F(ScriptCheck, CommandsOfAnotherKindOrUnknownAreErrorsButAMobTypesAnyGameCommand) {
    EXPECT_EQ(Check({"wecho hi", "wech cut short", "%echo% hi", "* mecho", "  WECHO hi"}, A::Room),
              Lines{});
    EXPECT_EQ(Check({"mecho hi", "говор hi", "oecho hi"}, A::Room),
              (Lines{"1: «mecho» — команда триггеров моба, в триггере комнаты её нет",
                     "2: Неизвестная команда «говор»",
                     "3: «oecho» — команда триггеров предмета, в триггере комнаты её нет"}));
    // The game's commands, Russian ones too, are the mob's to type.
    EXPECT_EQ(Check({"говор hi", "bow", "say hi", "wecho hi"}, A::Mob),
              Lines{"4: «wecho» — команда триггеров комнаты, в триггере моба её нет"});
}

TEST_F(ScriptCheck, AWaitNeedsATime) {
    EXPECT_EQ(
        Check({"set pause 2", "wait 1", "wait 2s", "wait 3 t", "wait %pause%s", "wait until 12:00"},
              A::Obj),
        Lines{});
    EXPECT_EQ(Check({"wait", "wait soon"}, A::Obj),
              (Lines{"1: «wait» без времени",
                     "2: «wait»: «soon» — не время (число, «5s», «until 12:00» или переменная)"}));
}

// Numbers of the zones the workspace holds must name its records; those of
// other zones may be the server's.
TEST_F(ScriptCheck, AttachLoadAndCalcuidOfRecordsTheWorkspaceLacksAreErrors) {
    World.AddZone(std::make_unique<TZone>(1));
    World.Triggers.AddNew(100);
    World.Mobs.AddNew(101);
    World.Rooms.AddNew(102);
    EXPECT_EQ(Check({"attach 100 %self%", "wload mob 101", "calcuid r 102 room", "wload obj 555",
                     "calcuid r 199 room", "attach %actor.vnum% %self%"},
                    A::Room),
              Lines{});
    EXPECT_EQ(Check({"attach 150 %self%", "mload obj 150", "calcuid r 150 room"}, A::Mob),
              (Lines{"1: «attach»: нет триггера 150", "2: «mload»: нет объекта 150",
                     "3: «calcuid»: нет комнаты 150"}));
}

TEST_F(ScriptCheck, AVariableNeverSetIsAWarningOncePerName) {
    EXPECT_EQ(Check({"set a 1", "eval b %a% + 1", "calcuid c 5 mob", "foreach d %b% %c%",
                     "  mecho %d.name% %actor.name(%self%)% %speech%", "done"},
                    A::Mob),
              Lines{});
    EXPECT_EQ(Check({"oecho %acter.name% 100%% %acter%", "oecho %speech%"}, A::Obj),
              (Lines{"1: Переменная %acter% в триггере не задаётся, и сервер такой не даёт",
                     "2: Переменная %speech% в триггере не задаётся, и сервер такой не даёт"}));
    // Made global by another trigger, or set under a name made at run time.
    const std::unordered_set<std::string> shared = {"quest"};
    EXPECT_EQ(Check({"mecho %quest%"}, A::Mob, &shared), Lines{});
    EXPECT_EQ(Check({"set q%self.vnum% 1", "mecho %other%"}, A::Mob), Lines{});
}

TEST_F(ScriptCheck, TheWorkspaceChecksNameTheTriggerAndTheLine) {
    World.AddZone(std::make_unique<TZone>(1));
    TTrigger& trigger = World.Triggers.AddNew(100);
    trigger.Model = 2;
    trigger.Flags = "c0";
    trigger.Text = {W("wait 1\r\nmecho hi"), "end"};
    World.Triggers.AddNew(101).Text = {"end"}; // of no type: it never runs
    TNamedCodes named;
    named.Script = std::make_shared<const TScriptLanguage>(Language);
    const TWorldView view = World.View();
    std::vector<std::tuple<TProblemKind, std::string>> got;
    for (const TProblem& problem : CheckWorld(view, {}, named))
        got.emplace_back(problem.Kind, Cp1251ToUtf8(ProblemCaption(view, problem)));
    EXPECT_EQ(got, (std::vector<std::tuple<TProblemKind, std::string>>{
                       {TProblemKind::ScriptCommand, "Триггер 100, строка 2"},
                       {TProblemKind::ScriptBlock, "Триггер 100, строка 3"}}));
}

TEST_F(ScriptCheck, ATableLineWithoutItsKindsIsAFailure) {
    WriteBytes(Dir / "Bad", Crlf({"wait\t012", "mecho"}));
    std::string error;
    EXPECT_FALSE(TScriptLanguage::Load(PathOf("Bad"), &error));
    EXPECT_EQ(Cp1251ToUtf8(error),
              PathOf("Bad") + ", строка 2: нужны команда и её классы триггеров (0, 1, 2)");
    EXPECT_FALSE(TScriptLanguage::Load(PathOf("missing"), &error));
}

} // namespace
