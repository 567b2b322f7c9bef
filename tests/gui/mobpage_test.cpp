#include "codepage.h"
#include "descform.h"
#include "destform.h"
#include "editorfixture.h"
#include "mobpage.h"
#include "textcodec.h"
#include "vocabularyfill.h"
#include "world.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <limits>

using namespace guitest;

namespace {

std::string Composed(const TWorld& world, int32_t zone) {
    TStringList lines;
    world.Mobs.SaveToStrings(lines, zone);
    std::string out;
    for (const auto& line : lines)
        out += line + "\n";
    return out;
}

int RowOfCode(const QTableWidget* grid, int code) {
    for (int row = 0; row < grid->rowCount(); ++row)
        if (grid->item(row, 0)->data(kCodeRole).toInt() == code)
            return row;
    return -1;
}

} // namespace

class TMobPageTest : public TEditorFixture {
    Q_OBJECT

    TMobPage* page_ = nullptr;

    void Open() {
        StartOn(true, /*confirm=*/false);
        ClickTab(MobPageIndex);
        page_ = form_->findChild<TMobPage*>();
        QVERIFY(page_);
    }
    void Select(int32_t vnum) {
        ChooseRecord(MobPageIndex, vnum);
        QCOMPARE(*Page(MobPageIndex).Current, vnum);
    }
    TMob& Mob(int32_t vnum) { return *World().Mobs.Find(vnum); }

private slots:
    void cleanup() { Finish(); }

    void flagsTheListsDoNotNameAreKept() {
        Open();
        const int32_t vnum = World().Mobs.ZoneRecords(10).back()->VNum;
        CheckFlagsKept(MobPageIndex, vnum, Mob(vnum).Flags, page_->M_ActionCheckListBox);
        CheckFlagsKept(MobPageIndex, vnum, Mob(vnum).Special, page_->M_SpecialCheckListBox);
    }

    void showingAndApplyingChangesNothing() {
        Open();
        ApplyEverySampleRecord(MobPageIndex, [this](int32_t zone) { return Composed(World(), zone); });
    }

    void anEditLandsInTheRecordAndTheFile() {
        Open();
        Select(1000);
        QCOMPARE(page_->M_Name1Edit->text(), QStringLiteral("стражник"));
        QCOMPARE(page_->M_HP1Edit->text(), QStringLiteral("4"));
        QCOMPARE(page_->M_HP3Edit->text(), QStringLiteral("50"));
        QCOMPARE(page_->M_HelperListBox->count(), 1);
        page_->M_Name1Edit->setFocus();
        page_->M_Name1Edit->selectAll();
        TypeText(page_->M_Name1Edit, QStringLiteral("часовой"));
        QVERIFY(ApplyEnabled());
        QCOMPARE(Page(MobPageIndex).IDComboBox->currentText(), QStringLiteral("1000  часовой"));
        page_->M_LevelComboBox->setCurrentIndex(page_->M_LevelComboBox->findData(12));
        page_->M_ExpEdit->setValue(2000);
        form_->ApplyPage();
        QCOMPARE(Mob(1000).Imen, Utf8ToCp1251("часовой"));
        QCOMPARE(int(Mob(1000).Level), 12);
        const std::string file = Composed(World(), 10);
        QVERIFY(file.find(Utf8ToCp1251("\nчасовой~\n")) != std::string::npos);
        QVERIFY(file.find("\n12 10 2 4d10+50 1d8+2\n2d10+5 2000\n") != std::string::npos);
    }

    // Values another server's lists name, and ours do not, are shown as their
    // numbers and kept; the next mob's named values show no such entry.
    void valuesTheListsDoNotNameAreShownAndKept() {
        Open();
        Select(1000);
        Mob(1000).Str = 50;
        Mob(1000).Dex = 50;
        Mob(1000).LikeWork = 20;
        Mob(1000).Model = 102;
        Page(MobPageIndex).ShowCurrent();
        QCOMPARE(page_->M_StrComboBox->currentText(), QStringLiteral("50 (нет в списке)"));
        QCOMPARE(page_->M_DexComboBox->currentText(), QStringLiteral("50 (нет в списке)"));
        QCOMPARE(page_->M_LikeWorkComboBox->currentText(), QStringLiteral("20 (нет в списке)"));
        QCOMPARE(page_->M_ClassComboBox->currentText(), QStringLiteral("102 (нет в списке)"));
        page_->M_Name2Edit->setFocus();
        TypeText(page_->M_Name2Edit, QStringLiteral("а"));
        form_->ApplyPage();
        QCOMPARE(int(Mob(1000).Str), 50);
        QCOMPARE(int(Mob(1000).Dex), 50);
        QCOMPARE(int(Mob(1000).LikeWork), 20);
        QCOMPARE(int(Mob(1000).Model), 102);
        QVERIFY(Composed(World(), 10).find("\nStr: 50\n") != std::string::npos);

        // The builder's choice replaces the value; another mob drops the entry.
        const int strCount = page_->M_StrComboBox->count();
        ChooseComboEntry(page_->M_StrComboBox, 0);
        form_->ApplyPage();
        QCOMPARE(int(Mob(1000).Str), page_->M_StrComboBox->itemData(0, kCodeRole).toInt());
        const int32_t other = World().Mobs.ZoneRecords(10).back()->VNum;
        QVERIFY(other != 1000);
        Select(other);
        QCOMPARE(page_->M_StrComboBox->count(), strCount - 1);
        QVERIFY(!page_->M_StrComboBox->currentText().contains(QStringLiteral("нет в списке")));
    }

    void diceBonusCarriesItsSign() {
        Open();
        Select(1000);
        Mob(1000).Damage = TDice{1, 6, -3};
        Page(MobPageIndex).ShowCurrent();
        QCOMPARE(page_->M_Damage3Edit->text(), QStringLiteral("3"));
        QCOMPARE(page_->M_DamageBtn->text(), QStringLiteral("-"));
        form_->ApplyPage();
        QCOMPARE(Mob(1000).Damage, (TDice{1, 6, -3}));
        Click(page_->M_DamageBtn);
        QVERIFY(ApplyEnabled());
        QCOMPARE(page_->M_DamageBtn->text(), QStringLiteral("+"));
        form_->ApplyPage();
        QCOMPARE(Mob(1000).Damage, (TDice{1, 6, 3}));
        QVERIFY(Composed(World(), 10).find(" 1d6+3\n") != std::string::npos);
    }

    void anEmptyDiceFieldIsRefused() {
        Open();
        Select(1000);
        QApplication::setActiveWindow(form_.get());
        page_->M_Damage3Edit->setFocus();
        QTRY_VERIFY(page_->M_Damage3Edit->hasFocus());
        page_->M_Damage3Edit->clear();
        prompts_->ExpectError(QStringLiteral("Введите корректное значение"));
        page_->M_ExpEdit->setFocus();
        QVERIFY(page_->M_Damage3Edit->hasFocus());
        // A number with blanks is taken in plain form; one over 32 bits is refused.
        TypeText(page_->M_Damage3Edit, QStringLiteral(" 7"));
        page_->M_ExpEdit->setFocus();
        QCOMPARE(page_->M_Damage3Edit->text(), QStringLiteral("7"));
        page_->M_HP1Edit->setFocus();
        page_->M_HP1Edit->selectAll();
        TypeText(page_->M_HP1Edit, QStringLiteral("2147483648"));
        prompts_->ExpectError(QStringLiteral("Введите корректное значение"));
        page_->M_ExpEdit->setFocus();
        QVERIFY(page_->M_HP1Edit->hasFocus());
        // Apply from the tools window, without leaving the field: refused as
        // a whole, the record as it was and the page still changed.
        prompts_->ExpectError(QStringLiteral("Введите корректное значение"));
        form_->ApplyPage();
        QCOMPARE(Mob(1000).Hits.X, 4);
        QCOMPARE(Mob(1000).Damage.Z, 2);
        QVERIFY(ApplyEnabled());
        page_->M_HP1Edit->selectAll();
        TypeText(page_->M_HP1Edit, QStringLiteral("300"));
        form_->ApplyPage();
        QCOMPARE(Mob(1000).Hits.X, 300);
        QCOMPARE(Mob(1000).Damage.Z, 7);
        QVERIFY(!ApplyEnabled());
    }

    void diceAndStatsKeepTheirFullWidth() {
        Open();
        Select(1000);
        // Values of another server's files: wide, and a count no field can take.
        Mob(1000).Hits = TDice{1000, 70000, std::numeric_limits<int32_t>::min()};
        Mob(1000).Damage = TDice{-1, 2147483647, 2147483647};
        Mob(1000).Exp = 2000000000;
        Mob(1000).Size = -70000;
        Page(MobPageIndex).ShowCurrent();
        QCOMPARE(page_->M_HP3Edit->text(), QStringLiteral("2147483648"));
        QCOMPARE(page_->M_HPBtn->text(), QStringLiteral("-"));
        QCOMPARE(page_->M_Damage2Edit->text(), QStringLiteral("2147483647"));
        QCOMPARE(page_->M_ExpEdit->value(), 2000000000);
        // Leaving the unshowable count is no edit, and Apply keeps it.
        QApplication::setActiveWindow(form_.get());
        page_->M_Damage1Edit->setFocus();
        QTRY_VERIFY(page_->M_Damage1Edit->hasFocus());
        page_->M_SizeEdit->setFocus();
        page_->M_Name2Edit->setFocus();
        TypeText(page_->M_Name2Edit, QStringLiteral("а"));
        form_->ApplyPage();
        QCOMPARE(Mob(1000).Hits, (TDice{1000, 70000, std::numeric_limits<int32_t>::min()}));
        QCOMPARE(Mob(1000).Damage, (TDice{-1, 2147483647, 2147483647}));
        QCOMPARE(Mob(1000).Exp, 2000000000);
        QCOMPARE(Mob(1000).Size, -70000);
        QVERIFY(Composed(World(), 10).find(" 1000d70000+-2147483648 -1d2147483647+2147483647\n") !=
                std::string::npos);
        // The count typed over is then the user's.
        page_->M_Damage1Edit->setFocus();
        page_->M_Damage1Edit->selectAll();
        TypeText(page_->M_Damage1Edit, QStringLiteral("3"));
        form_->ApplyPage();
        QCOMPARE(Mob(1000).Damage.X, 3);
    }

    void spellsAndSkillsGrids() {
        Open();
        Select(1001);
        QTableWidget* spells = page_->M_SpellsStringGrid;
        QCOMPARE(spells->columnCount(), 4);
        const int heal = RowOfCode(spells, 16);
        const int bless = RowOfCode(spells, 3);
        const int fireball = RowOfCode(spells, 26);
        QCOMPARE(spells->item(heal, 3)->text(), QStringLiteral("2"));
        QCOMPARE(spells->item(bless, 3)->text(), QStringLiteral("1"));
        QCOMPARE(spells->item(fireball, 3)->text(), QStringLiteral("0"));
        // Typing into the count column: digits only.
        spells->setCurrentCell(fireball, 3);
        spells->setFocus();
        spells->editItem(spells->item(fireball, 3));
        auto* editor = spells->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("x2"));
        QCOMPARE(editor->text(), QStringLiteral("2"));
        // Neither a group separator nor a sign, whatever the locale says.
        const QLocale locale;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        for (const auto& [typed, kept] : {std::pair{"1,000", "1000"}, {"+3", "3"}, {"-3", "3"}}) {
            spells->editItem(spells->item(bless, 3));
            auto* cell = spells->viewport()->findChild<QLineEdit*>();
            QVERIFY(cell);
            cell->selectAll();
            QTest::keyClicks(cell, QLatin1String(typed));
            QCOMPARE(cell->text(), QLatin1String(kept));
            QTest::keyClick(cell, Qt::Key_Escape);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QLocale::setDefault(locale);
        spells->editItem(spells->item(fireball, 3));
        editor = spells->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("2"));
        QTest::keyClick(editor, Qt::Key_Return);
        // The grid takes the value in once the editor closes.
        QTRY_COMPARE(spells->item(fireball, 3)->text(), QStringLiteral("2"));
        QVERIFY(ApplyEnabled());
        spells->item(bless, 3)->setText(QStringLiteral("0"));
        QTableWidget* skills = page_->M_SkillsStringGrid;
        QCOMPARE(skills->item(RowOfCode(skills, 6), 2)->text(), QStringLiteral("75"));
        skills->item(RowOfCode(skills, 6), 2)->setText(QStringLiteral("90"));
        form_->ApplyPage();
        QCOMPARE(Mob(1001).Spells, (std::vector<int32_t>{PackPair(16, 2), PackPair(26, 2)}));
        QCOMPARE(Mob(1001).SkillValue(6), 90);
        const std::string file = Composed(World(), 10);
        QVERIFY(file.find("\nSpell: 16\nSpell: 16\nSpell: 26\nSpell: 26\nSkill: 2 80\nSkill: 6 "
                          "90\n") != std::string::npos);
    }

    void gridsKeepWhatTheyCannotShow() {
        const std::vector<int32_t> merged = MergeGridPairs(
            {PackPair(16, 2), PackPair(999, 4), PackPair(3, 1)}, {{3, 1}, {16, 0}, {26, 5}});
        QCOMPARE(merged, (std::vector<int32_t>{PackPair(999, 4), PackPair(3, 1), PackPair(26, 5)}));
    }

    void lookHelpersAndRoute() {
        Open();
        Select(1001);
        QCOMPARE(Mob(1001).Look.size(), size_t{4});
        QVERIFY(page_->M_FullDescEdit->text().startsWith(QStringLiteral("Седой капитан")));
        // The first line is only shown: typing there stores nothing.
        TypeText(page_->M_FullDescEdit, QStringLiteral("abc"));
        form_->ApplyPage();
        QCOMPARE(Mob(1001).Look.size(), size_t{4});

        WhenModal([](QWidget* window) {
            auto* dialog = qobject_cast<TDescForm*>(window);
            QVERIFY(dialog);
            dialog->DescMemo->setPlainText(QStringLiteral("Один.\nДва."));
            Click(dialog->OkBtn);
        });
        Click(page_->M_FullDescBtn);
        QCOMPARE(page_->M_FullDescEdit->text(), QStringLiteral("Один."));
        QVERIFY(ApplyEnabled());

        // Helpers: digits only, nothing for an empty field.
        page_->M_HelperEdit->setFocus();
        TypeText(page_->M_HelperEdit, QStringLiteral("a"));
        QVERIFY(page_->M_HelperEdit->text().isEmpty());
        Click(page_->M_AddHelperBtn);
        QCOMPARE(page_->M_HelperListBox->count(), 1);
        TypeText(page_->M_HelperEdit, QStringLiteral("1003"));
        Click(page_->M_AddHelperBtn);
        QCOMPARE(page_->M_HelperListBox->count(), 2);
        page_->M_HelperListBox->setCurrentRow(0);
        Click(page_->M_DelHelperBtn);

        WhenModal([](QWidget* window) {
            auto* dialog = qobject_cast<TDestForm*>(window);
            QVERIFY(dialog);
            dialog->SetRoute("1002/1003");
            Click(dialog->OkBtn);
        });
        Click(page_->M_DestinationBtn);
        QCOMPARE(page_->M_DestinationEdit->text(), QStringLiteral("1002/1003"));
        form_->ApplyPage();
        QCOMPARE(Mob(1001).Look, (TStringList{Utf8ToCp1251("Один."), Utf8ToCp1251("Два.")}));
        QCOMPARE(Mob(1001).Helper, std::vector<int32_t>{1003});
        QCOMPARE(Mob(1001).Destination, std::string("1002/1003"));
        QVERIFY(Composed(World(), 10).find("\nDestination: 1002\nDestination: 1003\n") != std::string::npos);
    }

    void theBlankRecordAndNoMob() {
        StartOn(true, /*confirm=*/false);
        Zone().Z_NewZoneEdit->setValue(20);
        Click(Zone().Z_NewBtn);
        ClickTab(MobPageIndex);
        page_ = form_->findChild<TMobPage*>();
        QVERIFY(page_->M_Name1Edit->text().isEmpty());
        QCOMPARE(page_->M_HelperListBox->count(), 0);
        QCOMPARE(page_->M_TriggerListBox->count(), 0);
        QCOMPARE(page_->M_HP1Edit->text(), QStringLiteral("0"));
        QCOMPARE(page_->M_SpellsStringGrid->item(0, 3)->text(), QStringLiteral("0"));
        prompts_->ExpectInformation(QStringLiteral("Сначала создайте нового моба"));
        page_->M_Name1Edit->setFocus();
        TypeText(page_->M_Name1Edit, QStringLiteral("x"));
        prompts_->ExpectError(QStringLiteral("Сначала выберите моба"));
        Click(page_->M_AddTriggerBtn);
        TypeText(page_->M_HelperEdit, QStringLiteral("5"));
        Click(page_->M_AddHelperBtn);
        QCOMPARE(page_->M_HelperListBox->count(), 0);
        QVERIFY(!ApplyEnabled());
    }

    void pageFitsTheWindow() {
        Open();
        Select(1001);
        QVERIFY(SaveShot(*form_, QStringLiteral("mobpage.png")));
        page_->M_PageControl->setCurrentIndex(3);
        QVERIFY(SaveShot(*form_, QStringLiteral("mobpage_spells.png")));
        for (QWidget* child : page_->findChildren<QWidget*>())
            if (child->isVisible() && child->parentWidget() == page_)
                QVERIFY(page_->rect().contains(child->geometry()));
    }
};

QTEST_MAIN(TMobPageTest)
#include "mobpage_test.moc"
