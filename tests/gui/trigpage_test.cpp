#include "editorfixture.h"
#include "scripteditor.h"
#include "scriptfindbar.h"
#include "serverimport.h"
#include "textcodec.h"
#include "trigpage.h"
#include "world.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTextBlock>
#include <QToolTip>
#include <filesystem>

using namespace guitest;

namespace {

QString Cp(std::string_view bytes) {
    return FromCp1251(bytes);
}

TStringList ZoneFile(const TWorld& world, int32_t zone) {
    TStringList lines;
    world.Triggers.SaveToStrings(lines, zone);
    return lines;
}

// Toggles the check mark of a flag list's row as the user does, with the space bar.
void ToggleRow(QListWidget* list, int row) {
    list->setFocus();
    list->setCurrentRow(row);
    QTest::keyClick(list, Qt::Key_Space);
}

int RowOfCode(const QListWidget* list, const char* flag) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(Qt::UserRole).toInt() == (flag[0] << 8) + flag[1])
            return i;
    return -1;
}

// The severity of the margin's marker at a script line; none without one.
std::optional<TSeverity> MarkerAt(const TScriptEditor* editor, int line) {
    std::optional<TSeverity> worst;
    for (const TScriptProblem& problem : editor->Problems())
        if (problem.Line == line && worst != TSeverity::Error)
            worst = problem.Severity;
    return worst;
}

// Selects the entry of the class combo at `position` from the keyboard.
void ChooseClass(QComboBox* combo, int position) {
    combo->setFocus();
    while (combo->currentIndex() < position)
        QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > position)
        QTest::keyClick(combo, Qt::Key_Up);
}

} // namespace

class TTrigPageTest : public TEditorFixture {
    Q_OBJECT

    TTrigPage* page_ = nullptr;

    // The sample workspace on the trigger page, with zone 10 open.
    void StartOnTriggers() {
        StartOn(true, /*confirm=*/false);
        ClickTab(TrigPageIndex);
        QCOMPARE(form_->CurrentPage(), int(TrigPageIndex));
        page_ = form_->findChild<TTrigPage*>();
        QVERIFY(page_);
    }
    void ShowTrigger(int32_t vnum) {
        ChooseRecord(TrigPageIndex, vnum);
        QCOMPARE(*Page(TrigPageIndex).Current, vnum);
    }
    void Apply() { Click(form_->ToolsForm->ApplyBtn); }

private slots:
    void cleanup() {
        page_ = nullptr;
        Finish();
    }

    void controlsCarryTheirNamesAndLists() {
        StartOnTriggers();
        for (const char* name :
             {"T_NameEdit", "T_ClassComboBox", "T_TypeMobCheckListBox", "T_TypeObjCheckListBox",
              "T_TypeRoomCheckListBox", "T_NumArgEdit", "T_ArgEdit", "T_TextMemo"})
            QVERIFY2(form_->findChild<QWidget*>(QLatin1String(name)), name);
        QCOMPARE(page_->T_ClassComboBox->count(), 3);
        QVERIFY(page_->T_TypeMobCheckListBox->count() > 0);
        QVERIFY(page_->T_TypeObjCheckListBox->count() > 0);
        QVERIFY(page_->T_TypeRoomCheckListBox->count() > 0);
        // The hint file reaches the page's controls by their names.
        QVERIFY(!page_->T_NameEdit->toolTip().isEmpty());
        QCOMPARE(Page(TrigPageIndex).IDComboBox->toolTip().isEmpty(), false);
    }

    // Untouched triggers come back byte for byte; a typed script line is
    // the only line of the file that changes.
    void showingAndApplyingWithoutEditsChangesNothing() {
        StartOnTriggers();
        TStringList before = ZoneFile(World(), 10);
        for (int row = 0; row < Page(TrigPageIndex).Count(); ++row) {
            ChooseComboEntry(Page(TrigPageIndex).IDComboBox, row);
            QVERIFY(!ApplyEnabled());
            form_->ApplyPage();
        }
        QCOMPARE(ZoneFile(World(), 10), before);

        ShowTrigger(1000);
        page_->T_TextMemo->setFocus();
        QTest::keyClick(page_->T_TextMemo, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(page_->T_TextMemo, Qt::Key_Return);
        QTest::keyClicks(page_->T_TextMemo, QStringLiteral("wait 2"));
        Apply();
        const auto header = std::find(before.begin(), before.end(), "#1000");
        QVERIFY(header != before.end());
        // The script follows the name, the types and the argument lines.
        const auto scriptEnd = std::find(header + 4, before.end(), "~");
        QVERIFY(scriptEnd != before.end());
        before.insert(scriptEnd, "wait 2");
        QCOMPARE(ZoneFile(World(), 10), before);
    }

    void showFillsTheControls() {
        StartOnTriggers();
        ShowTrigger(1000);
        QCOMPARE(page_->T_NameEdit->text(), QStringLiteral("Стражник приветствует путника"));
        QCOMPARE(page_->T_NumArgEdit->value(), 100);
        QCOMPARE(page_->FrontTypeList(), page_->T_TypeMobCheckListBox);
        QListWidget* mob = page_->T_TypeMobCheckListBox;
        QCOMPARE(mob->item(RowOfCode(mob, "g0"))->checkState(), Qt::Checked);
        const QStringList lines = page_->T_TextMemo->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.first(), QStringLiteral("if %actor.is_pc%"));
        QCOMPARE(lines.last(), QStringLiteral("end"));
    }

    void aScriptIsStoredAsOneEntryAndWrittenTheSame() {
        StartOnTriggers();
        const TStringList before = ZoneFile(World(), 10);
        ShowTrigger(1000);
        QCOMPARE(World().Triggers.Find(1000)->Text.size(), size_t(4));
        // An edit and its undo leave the text as it was, but mark the page.
        page_->T_TextMemo->setFocus();
        QTest::keyClick(page_->T_TextMemo, Qt::Key_End, Qt::ControlModifier);
        TypeText(page_->T_TextMemo, QStringLiteral("x"));
        QVERIFY(ApplyEnabled());
        QTest::keyClick(page_->T_TextMemo, Qt::Key_Backspace);
        Apply();
        const TTrigger& trigger = *World().Triggers.Find(1000);
        QCOMPARE(trigger.Text.size(), size_t(1));
        QCOMPARE(Cp(trigger.Text[0]), QStringLiteral("if %actor.is_pc%\r\n  wait 1\r\n  say "
                                                     "Здравствуй, %actor.name%! Веди себя в "
                                                     "Ольховке смирно.\r\nend"));
        QCOMPARE(ZoneFile(World(), 10), before);
    }

    void everyCharacterTheCodePageHoldsIsKept() {
        StartOnTriggers();
        ShowTrigger(1001);
        page_->T_TextMemo->setFocus();
        page_->T_TextMemo->selectAll();
        TypeLines(page_->T_TextMemo, QStringLiteral("say 10\u00a0000 \u2014 \u00abда\u00bb\nend"));
        Apply();
        QCOMPARE(World().Triggers.Find(1001)->Text, TStringList{"say 10\xa0"
                                                           "000 \x97 \xab\xe4\xe0\xbb\r\nend"});
    }

    void anEmptiedScriptIsOneEmptyLine() {
        StartOnTriggers();
        ShowTrigger(1001);
        page_->T_TextMemo->setFocus();
        page_->T_TextMemo->selectAll();
        QTest::keyClick(page_->T_TextMemo, Qt::Key_Delete);
        Apply();
        QCOMPARE(World().Triggers.Find(1001)->Text, TStringList{""});
        const TStringList lines = ZoneFile(World(), 10);
        const auto at = std::find(lines.begin(), lines.end(), "#1001");
        QVERIFY(at != lines.end());
        QCOMPARE(*(at + 4), std::string());
        QCOMPARE(*(at + 5), std::string("~"));
    }

    void aLineEndingInTildeIsKeptWhole() {
        StartOnTriggers();
        ShowTrigger(1002);
        page_->T_TextMemo->setFocus();
        page_->T_TextMemo->selectAll();
        TypeText(page_->T_TextMemo, QStringLiteral("say a~"));
        QTest::keyClick(page_->T_TextMemo, Qt::Key_Return);
        TypeText(page_->T_TextMemo, QStringLiteral("~"));
        QTest::keyClick(page_->T_TextMemo, Qt::Key_Return);
        TypeText(page_->T_TextMemo, QStringLiteral("wait 1"));
        prompts_->ExpectInformation(
            QStringLiteral("Строка текста триггера не может оканчиваться знаком «~»: в файле "
                           "триггеров он завершает текст. В конец таких строк (2 шт.) "
                           "добавлен пробел."));
        Apply();
        QCOMPARE(World().Triggers.Find(1002)->Text, TStringList{"say a~ \r\n~ \r\nwait 1"});

        // Written and read back, the script still has all three lines.
        const TStringList lines = ZoneFile(World(), 10);
        std::string bytes;
        for (const auto& line : lines)
            bytes += line + "\r\n";
        TTriggerList again;
        TWorldReader reader = TWorldReader::FromBytes(bytes);
        again.ReadTriggers(reader);
        QCOMPARE(again.Find(1002)->Text, (TStringList{"say a~ ", "~ ", "wait 1"}));
    }

    void theClassDecidesTheTypeList() {
        StartOnTriggers();
        ShowTrigger(1001);
        QCOMPARE(page_->FrontTypeList(), page_->T_TypeObjCheckListBox);
        QListWidget* obj = page_->T_TypeObjCheckListBox;
        QCOMPARE(obj->item(RowOfCode(obj, "g0"))->checkState(), Qt::Checked);
        QVERIFY(!ApplyEnabled());

        ChooseClass(page_->T_ClassComboBox, 2);
        QCOMPARE(page_->FrontTypeList(), page_->T_TypeRoomCheckListBox);
        QVERIFY(ApplyEnabled());
        QListWidget* room = page_->T_TypeRoomCheckListBox;
        ToggleRow(room, RowOfCode(room, "d0"));
        ToggleRow(room, RowOfCode(room, "b0"));
        Apply();
        QCOMPARE(int(World().Triggers.Find(1001)->Model), 2);
        QCOMPARE(World().Triggers.Find(1001)->Flags, std::string("b0d0"));
    }

    void anotherTriggersTypesDoNotCarryOver() {
        StartOnTriggers();
        ShowTrigger(1000); // mob trigger with g0
        ShowTrigger(1001); // object trigger
        QListWidget* mob = page_->T_TypeMobCheckListBox;
        QCOMPARE(mob->item(RowOfCode(mob, "g0"))->checkState(), Qt::Unchecked);
        ChooseClass(page_->T_ClassComboBox, 0);
        Apply();
        QCOMPARE(int(World().Triggers.Find(1001)->Model), 0);
        QCOMPARE(World().Triggers.Find(1001)->Flags, std::string());
    }

    void typesTheListDoesNotNameAreKept() {
        StartOnTriggers();
        World().Triggers.Find(1000)->Flags = "g0z9";
        ShowTrigger(1000);
        form_->ApplyPage();
        QCOMPARE(World().Triggers.Find(1000)->Flags, std::string("g0z9"));
        // So is a class the list does not name, whatever its width.
        World().Triggers.Find(1001)->Model = 300;
        ShowTrigger(1001);
        QCOMPARE(page_->T_ClassComboBox->currentText(), QStringLiteral("300 (нет в списке)"));
        form_->ApplyPage();
        QCOMPARE(int(World().Triggers.Find(1001)->Model), 300);
        ShowTrigger(1000);
        ToggleRow(page_->T_TypeMobCheckListBox, 0); // a0, after the pairs it had
        Apply();
        QCOMPARE(World().Triggers.Find(1000)->Flags, std::string("g0z9a0"));
    }

    void editsSetTheChangeFlagAndLand() {
        StartOnTriggers();
        ShowTrigger(1002);
        page_->T_ArgEdit->setFocus();
        TypeText(page_->T_ArgEdit, QStringLiteral("слово"));
        QVERIFY(ApplyEnabled());
        form_->ApplyPage();
        QVERIFY(!ApplyEnabled());
        page_->T_NumArgEdit->setFocus();
        page_->T_NumArgEdit->selectAll();
        TypeText(page_->T_NumArgEdit, QStringLiteral("42"));
        QVERIFY(ApplyEnabled());
        page_->T_NameEdit->setFocus();
        page_->T_NameEdit->selectAll();
        TypeText(page_->T_NameEdit, QStringLiteral("Эхо"));
        QCOMPARE(Page(TrigPageIndex).IDComboBox->currentText(), QStringLiteral("1002  Эхо"));
        Apply();
        const TTrigger& trigger = *World().Triggers.Find(1002);
        QCOMPARE(Cp(trigger.Name), QStringLiteral("Эхо"));
        QCOMPARE(Cp(trigger.StrParam), QStringLiteral("слово"));
        QCOMPARE(trigger.NumParam, 42);
        const TStringList lines = ZoneFile(World(), 10);
        const auto at = std::find(lines.begin(), lines.end(), "#1002");
        QVERIFY(at != lines.end());
        QCOMPARE(Cp(*(at + 1)), QStringLiteral("Эхо~"));
        QCOMPARE(*(at + 2), std::string("2 g0 42"));
        QCOMPARE(Cp(*(at + 3)), QStringLiteral("слово~"));
    }

    void theBlankTriggerClearsThePageAndRefusesEdits() {
        StartOnTriggers();
        ShowTrigger(1000);
        ClickTab(ZonePageIndex);
        Zone().Z_NewZoneEdit->setValue(20);
        Click(Zone().Z_NewBtn);
        ClickTab(TrigPageIndex);
        QCOMPARE(Page(TrigPageIndex).Count(), 0);
        QVERIFY(page_->T_NameEdit->text().isEmpty());
        QVERIFY(page_->T_TextMemo->toPlainText().isEmpty());
        QCOMPARE(page_->T_NumArgEdit->value(), 0);
        QListWidget* mob = page_->T_TypeMobCheckListBox;
        QCOMPARE(mob->item(RowOfCode(mob, "g0"))->checkState(), Qt::Unchecked);

        prompts_->ExpectInformation(QStringLiteral("Сначала создайте новый триггер"));
        ChooseClass(page_->T_ClassComboBox, 1);
        prompts_->ExpectInformation(QStringLiteral("Сначала создайте новый триггер"));
        page_->T_NameEdit->setFocus();
        TypeText(page_->T_NameEdit, QStringLiteral("x"));
        page_->T_ArgEdit->setFocus();
        TypeText(page_->T_ArgEdit, QStringLiteral("y"));
        QVERIFY(!ApplyEnabled());
    }

    void anUnpairedBlockIsMarkedBesideItsLineUntilFixed() {
        StartOnTriggers();
        ShowTrigger(1000);
        TScriptEditor* editor = page_->T_TextMemo;
        QVERIFY(!MarkerAt(editor, 4));
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, QStringLiteral("end"));
        QTRY_COMPARE(MarkerAt(editor, 4), std::optional(TSeverity::Error));
        // The marker's message is the margin's tooltip at that line.
        auto* margin = editor->findChild<QWidget*>(QStringLiteral("ScriptMargin"));
        const QPoint at(margin->width() / 2, editor->cursorRect().center().y());
        QHelpEvent help(QEvent::ToolTip, at, margin->mapToGlobal(at));
        QApplication::sendEvent(margin, &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), editor->ProblemText(4));
        QVERIFY(!QToolTip::text().isEmpty());
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(editor, Qt::Key_Backspace);
        QTRY_VERIFY(!MarkerAt(editor, 4));
        QVERIFY(editor->ProblemText(4).isEmpty());
    }

    void tabAndShiftTabShiftTheSelectedLinesOnly() {
        StartOnTriggers();
        ShowTrigger(1000);
        TScriptEditor* editor = page_->T_TextMemo;
        const QString shown = editor->toPlainText();
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Down);
        QTest::keyClick(editor, Qt::Key_Right);
        QTest::keyClick(editor, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(editor->toPlainText(), QStringLiteral("if %actor.is_pc%\n    wait 1\n    say "
                                                       "Здравствуй, %actor.name%! Веди себя в "
                                                       "Ольховке смирно.\nend"));
        QTest::keyClick(editor, Qt::Key_Backtab);
        QTest::keyClick(editor, Qt::Key_Backtab);
        QCOMPARE(editor->toPlainText(), QStringLiteral("if %actor.is_pc%\nwait 1\nsay "
                                                       "Здравствуй, %actor.name%! Веди себя в "
                                                       "Ольховке смирно.\nend"));
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(editor->toPlainText(), shown);
    }

    // An offer is taken only when chosen: Enter after typing on is a line break.
    void completionOffersCommandsAndVariablesWithoutSwallowingEnter() {
        StartOnTriggers();
        ShowTrigger(1000);
        TScriptEditor* editor = page_->T_TextMemo;
        QAbstractItemView* offers = editor->Completer->popup();
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, QStringLiteral("wai"));
        QTest::keyClick(editor, Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(offers->isVisible());
        QTest::keyClick(offers, Qt::Key_Down);
        QTest::keyClick(offers, Qt::Key_Return);
        QVERIFY(!offers->isVisible());
        QVERIFY(editor->toPlainText().endsWith(QStringLiteral("\nwait")));

        QTest::keyClicks(editor, QStringLiteral(" 1 %act"));
        QVERIFY(offers->isVisible());
        QCOMPARE(editor->Completer->currentCompletion(), QStringLiteral("actor"));
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(!offers->isVisible());
        QVERIFY(editor->toPlainText().endsWith(QStringLiteral("\nwait 1 %act\n")));
    }

    void findAndReplaceWorkInsideTheScript() {
        StartOnTriggers();
        ShowTrigger(1000);
        TScriptEditor* editor = page_->T_TextMemo;
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_H, Qt::ControlModifier);
        QVERIFY(editor->FindBar->isVisible());
        QTest::keyClicks(editor->FindBar->FindEdit, QStringLiteral("actor"));
        QTest::keyClicks(editor->FindBar->ReplaceEdit, QStringLiteral("self"));
        Click(editor->FindBar->findChild<QToolButton*>(QStringLiteral("ScriptReplaceAll")));
        QVERIFY(editor->toPlainText().startsWith(QStringLiteral("if %self.is_pc%")));
        QVERIFY(!editor->toPlainText().contains(QStringLiteral("actor")));
        QVERIFY(ApplyEnabled());
        QTest::keyClick(editor->FindBar->FindEdit, Qt::Key_Escape);
        QVERIFY(!editor->FindBar->isVisible());
    }

    void screenshot() {
        SKIP_UNLESS_SCREENSHOTS();
        StartOnTriggers();
        ShowTrigger(1000);
        QVERIFY(SaveShot(*form_, QStringLiteral("trigpage.png")));
    }

    // The longest script of the real sample whose blocks do not pair, shown
    // at its first unpaired word.
    void realScriptWithAnUnpairedBlockScreenshot() {
        SKIP_UNLESS_SCREENSHOTS();
        const std::filesystem::path server = std::filesystem::path(VELMORA_REALWORLD) / "world";
        if (!std::filesystem::is_directory(server))
            QSKIP("no real server world beside the project (the sample is not here)");
        MakeProgram(false, Settings(false, false, true));
        QVERIFY(ImportServerWorld(ListServerWorld(server.string()), Workspace(""), TImportOptions{})
                    .Succeeded());
        Start();
        const TTrigger* chosen = nullptr;
        int unpairedLine = -1;
        size_t longest = 0;
        for (const auto& trigger : World().Triggers) {
            const std::vector<std::string> lines = ScriptLines(trigger->Text);
            for (const TBlockWord& word : ScriptBlocks(lines))
                if (word.Partner < 0 && lines.size() > longest) {
                    chosen = trigger;
                    unpairedLine = word.Line;
                    longest = lines.size();
                    break;
                }
        }
        QVERIFY(chosen);
        QVERIFY(form_->OpenRecord(TrigPageIndex, chosen->VNum));
        page_ = form_->findChild<TTrigPage*>();
        TScriptEditor* editor = page_->T_TextMemo;
        editor->setFocus();
        QTextCursor cursor(editor->document()->findBlockByNumber(unpairedLine));
        cursor.movePosition(QTextCursor::NextWord);
        editor->setTextCursor(cursor);
        editor->centerCursor();
        QTRY_VERIFY(MarkerAt(editor, unpairedLine).has_value());
        qInfo("trigger %d, %zu lines, unpaired block word on line %d", chosen->VNum, longest,
              unpairedLine + 1);
        QVERIFY(SaveShot(*form_, QStringLiteral("trigpage-real-unpaired.png")));

        // The same script typed without indentation shows its blocks alike.
        QStringList flat = editor->toPlainText().split(QLatin1Char('\n'));
        for (QString& line : flat)
            line = line.trimmed();
        editor->setPlainText(flat.join(QLatin1Char('\n')));
        editor->setTextCursor(cursor);
        editor->centerCursor();
        QVERIFY(SaveShot(*form_, QStringLiteral("trigpage-real-unpaired-flat.png")));
    }
};

QTEST_MAIN(TTrigPageTest)
#include "trigpage_test.moc"
