#include "addescform.h"
#include "codepage.h"
#include "editorfixture.h"
#include "effectform.h"
#include "listform.h"
#include "objkindpanels.h"
#include "objpage.h"
#include "textcodec.h"
#include "vocabularyfill.h"
#include "world.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

using namespace guitest;

namespace {

std::string Composed(const TWorld& world, int32_t zone) {
    TStringList lines;
    world.Objs.SaveToStrings(lines, zone);
    std::string out;
    for (const auto& line : lines)
        out += line + "\n";
    return out;
}

void SetSpin(QSpinBox* edit, int value) {
    edit->setFocus();
    edit->selectAll();
    TypeText(edit, QString::number(value));
    edit->interpretText();
}

void CheckItem(QListWidget* list, int row, bool checked) {
    QListWidgetItem* item = list->item(row);
    const QRect rect = list->visualItemRect(item);
    if ((item->checkState() == Qt::Checked) != checked)
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    QVERIFY(rect.isValid() || !list->isVisible());
}

} // namespace

class TObjPageTest : public TEditorFixture {
    Q_OBJECT

    TObjPage* page_ = nullptr;

    // The editor on the sample workspace, on the object page of zone `zone`.
    void Open(int zoneRow = 0, bool confirm = false) {
        StartOn(true, confirm);
        if (zoneRow > 0)
            SelectZoneRow(zoneRow);
        ClickTab(ObjPageIndex);
        page_ = form_->findChild<TObjPage*>();
        QVERIFY(page_);
    }
    void Select(int32_t vnum) {
        ChooseRecord(ObjPageIndex, vnum);
        QCOMPARE(*Page(ObjPageIndex).Current, vnum);
    }
    TObj& Obj(int32_t vnum) { return *World().Objs.Find(vnum); }

private slots:
    void cleanup() { Finish(); }

    void flagsTheListsDoNotNameAreKept() {
        Open();
        const int32_t vnum = World().Objs.ZoneRecords(10).back()->VNum;
        CheckFlagsKept(ObjPageIndex, vnum, Obj(vnum).Flags, page_->O_EffectCheckListBox);
        CheckFlagsKept(ObjPageIndex, vnum, Obj(vnum).WearFlags, page_->O_WearCheckListBox);
    }

    void showingAndApplyingChangesNothing() {
        Open();
        ApplyEverySampleRecord(ObjPageIndex, [this](int32_t zone) { return Composed(World(), zone); });
    }

    void anEditLandsInTheRecordAndTheFile() {
        Open();
        Select(1000);
        QCOMPARE(page_->O_Name1Edit->text(), QStringLiteral("длинный меч"));
        QCOMPARE(page_->O_DescComboBox->currentText(), QStringLiteral("меч клинок клеймо"));
        QVERIFY(page_->O_AddDescMemo->toPlainText().startsWith(QStringLiteral("На клинке")));
        QCOMPARE(page_->O_EffectStringGrid->item(0, 0)->text(), QStringLiteral("1"));
        QCOMPARE(page_->O_TriggerListBox->count(), 1);
        QCOMPARE(page_->O_TriggerListBox->item(0)->data(Qt::UserRole).toInt(), 1001);

        SetSpin(page_->O_WeightEdit, 12);
        QVERIFY(ApplyEnabled());
        page_->O_Name1Edit->setFocus();
        page_->O_Name1Edit->selectAll();
        TypeText(page_->O_Name1Edit, QStringLiteral("короткий меч"));
        QCOMPARE(Page(ObjPageIndex).IDComboBox->currentText(),
                 QStringLiteral("1000  короткий меч"));
        CheckItem(page_->O_WearCheckListBox, 0, false);
        Click(form_->ToolsForm->ApplyBtn);
        QVERIFY(!ApplyEnabled());

        QCOMPARE(Obj(1000).Weight, 12);
        QCOMPARE(Obj(1000).Imen, Utf8ToCp1251("короткий меч"));
        QCOMPARE(Obj(1000).WearFlags, std::string("n0"));
        const std::string file = Composed(World(), 10);
        QVERIFY(file.find(Utf8ToCp1251("\nкороткий меч~\n")) != std::string::npos);
        QVERIFY(file.find("\n5 0 n0\n") != std::string::npos);
        QVERIFY(file.find("\n12 150 10 20\n") != std::string::npos);
        // The objects' list window shows the new name.
        const QAbstractItemModel* window = form_->ListForms[ObjListKind]->ListBox1->model();
        bool found = false;
        for (int row = 0; row < window->rowCount(); ++row)
            found = found || window->index(row, 0).data() == QStringLiteral("1000  короткий меч");
        QVERIFY(found);
    }

    void timerUnitsFollowTheValue() {
        Open();
        Select(1005);
        const auto shows = [this](int minutes, int value, int unit) {
            Obj(1005).Timer = minutes;
            Page(ObjPageIndex).ShowCurrent();
            QCOMPARE(page_->O_TimerEdit->value(), value);
            QCOMPARE(page_->O_TimerComboBox->currentIndex(), unit);
        };
        shows(2880, 2, 2);
        shows(120, 2, 1);
        shows(0, 0, 2);
        shows(90, 90, 0);
        page_->O_TimerComboBox->setCurrentIndex(1);
        QCOMPARE(page_->O_TimerEdit->value(), 1);
        QVERIFY(ApplyEnabled());
        page_->O_TimerComboBox->setCurrentIndex(0);
        QCOMPARE(page_->O_TimerEdit->value(), 60);
        form_->ApplyPage();
        QCOMPARE(Obj(1005).Timer, 60);
        QCOMPARE(page_->O_TimerComboBox->currentText(), QStringLiteral("минут"));
    }

    void kindPanelsShowAndStoreTheirParameters() {
        Open();
        // An ingredient: lag in the low byte of the first value, level above it.
        Select(1009);
        Obj(1009).Param1 = "1282";
        Page(ObjPageIndex).ShowCurrent();
        QCOMPARE(page_->KindPanels->VisiblePanel(), page_->KindPanels->O_Panel25);
        QCOMPARE(page_->KindPanels->O_T25Edit3->value(), 2);
        QCOMPARE(page_->KindPanels->O_T25Edit4->value(), 5);
        QCOMPARE(page_->KindPanels->O_T25Edit1->value(), 1009);
        QCOMPARE(page_->KindPanels->O_T25CheckListBox1->item(0)->checkState(), Qt::Checked);
        SetSpin(page_->KindPanels->O_T25Edit3, 7);
        form_->ApplyPage();
        QCOMPARE(Obj(1009).Param1, std::string("1287"));
        QCOMPARE(Obj(1009).MagicVector, std::string("a0e0"));

        // A container with the second and fourth flags.
        Select(1003);
        QCOMPARE(page_->KindPanels->VisiblePanel(), page_->KindPanels->O_Panel15);
        QListWidget* flags = page_->KindPanels->O_T15CheckListBox;
        QCOMPARE(flags->item(0)->checkState(), Qt::Checked); // 13 = 1 + 4 + 8
        QCOMPARE(flags->item(1)->checkState(), Qt::Unchecked);
        CheckItem(flags, 0, false);
        CheckItem(flags, 1, true);
        CheckItem(flags, 2, false);
        QVERIFY(ApplyEnabled());
        form_->ApplyPage();
        QCOMPARE(Obj(1003).Param2, 10);
        QCOMPARE(Obj(1003).Param3, 1004);

        // Turning it into money and typing a coin count is an edit.
        Select(1004);
        QVERIFY(!ApplyEnabled());
        QVERIFY(!page_->KindPanels->VisiblePanel()); // a key has no parameters
        QVERIFY(!page_->O_AddDescEdit->isEnabled());
        page_->O_TypeComboBox->setCurrentIndex(page_->O_TypeComboBox->findData(20));
        QCOMPARE(page_->KindPanels->VisiblePanel(), page_->KindPanels->O_Panel20);
        form_->SetChanged(false);
        SetSpin(page_->KindPanels->O_T20Edit, 75);
        QVERIFY(ApplyEnabled());
        form_->ApplyPage();
        QCOMPARE(int(Obj(1004).Kind), 20);
        QCOMPARE(Obj(1004).Param1, std::string("75"));

        // A potion keeps the use text enabled; "no spell" stays as the file had it.
        Select(1002);
        QVERIFY(page_->O_AddDescEdit->isEnabled());
        QCOMPARE(page_->O_SpellComboBox->currentData(kCodeRole).toInt(), -1);
        QCOMPARE(page_->KindPanels->O_T10Spell3ComboBox->currentData(kCodeRole).toInt(), -1);
        form_->ApplyPage();
        QCOMPARE(Obj(1002).Spell, int16_t{0});
        QCOMPARE(Obj(1002).Param4, -1);
        page_->O_SpellComboBox->setCurrentIndex(page_->O_SpellComboBox->findData(3));
        form_->ApplyPage();
        QCOMPARE(Obj(1002).Spell, int16_t{3});
    }

    void effectsGridKeepsOneRow() {
        Open();
        Select(1000);
        QTableWidget* grid = page_->O_EffectStringGrid;
        QCOMPARE(grid->rowCount(), 1);
        grid->setCurrentCell(0, 0);
        prompts_->ExpectConfirm(QStringLiteral("Вы точно хотите удалить выделенный спецэффект?"),
                                true);
        Click(page_->O_DelEffectBtn);
        QCOMPARE(grid->rowCount(), 1);
        QVERIFY(grid->item(0, 0)->text().isEmpty());
        form_->ApplyPage();
        QVERIFY(Obj(1000).AddParam.empty());

        // Adding through the effect dialog fills the empty row, then a new one.
        for (const int modifier : {-3, 4}) {
            WhenModal([modifier](QWidget* window) {
                auto* dialog = qobject_cast<TEffectForm*>(window);
                QVERIFY(dialog);
                dialog->ComboBox->setCurrentIndex(dialog->ComboBox->findData(12));
                dialog->SpinEdit->setValue(modifier);
                Click(dialog->OkBtn);
            });
            Click(page_->O_AddEffectBtn);
        }
        QCOMPARE(grid->rowCount(), 2);
        QVERIFY(grid->item(1, 1)->text().startsWith(QStringLiteral("Мана")));
        QVERIFY(ApplyEnabled());
        form_->ApplyPage();
        QCOMPARE(Obj(1000).AddParam,
                 (std::vector<int32_t>{PackAddParam(12, -3), PackAddParam(12, 4)}));
        QVERIFY(Composed(World(), 10).find("\nA\n12 -3\nA\n12 4\n") != std::string::npos);

        // Deleting the first of two moves the second up.
        grid->setCurrentCell(0, 0);
        prompts_->ExpectConfirm(QStringLiteral("Вы точно хотите удалить выделенный спецэффект?"),
                                true);
        Click(page_->O_DelEffectBtn);
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("4"));
    }

    void extraDescriptionsEditTheWorkingCopy() {
        Open();
        Select(1003);
        QCOMPARE(page_->O_DescComboBox->count(), 1);
        WhenModal([](QWidget* window) {
            auto* dialog = qobject_cast<TAddDescForm*>(window);
            QVERIFY(dialog);
            QVERIFY(dialog->Edit1->text().isEmpty());
            dialog->Edit1->setText(QStringLiteral("крышка"));
            dialog->Memo1->setPlainText(QStringLiteral("Крышка окована.\n\nИ тяжела."));
            Click(dialog->OkBtn);
        });
        Click(page_->O_AddDescBtn);
        QCOMPARE(page_->O_DescComboBox->currentText(), QStringLiteral("крышка"));
        QCOMPARE(page_->O_AddDescMemo->toPlainText(),
                 QStringLiteral("Крышка окована.\n\nИ тяжела."));
        QVERIFY(ApplyEnabled());
        // Not in the record until applied.
        QCOMPARE(Obj(1003).ExtraDescs.size(), size_t{1});
        form_->ApplyPage();
        QCOMPARE(Obj(1003).ExtraDescs.size(), size_t{2});
        QCOMPARE(Obj(1003).ExtraDescs[1].Description,
                 (TStringList{Utf8ToCp1251("Крышка окована."), "", Utf8ToCp1251("И тяжела.")}));

        // Editing keeps the entry selected; deleting the first selects the next.
        WhenModal([](QWidget* window) {
            auto* dialog = qobject_cast<TAddDescForm*>(window);
            QCOMPARE(dialog->Edit1->text(), QStringLiteral("крышка"));
            dialog->Edit1->setText(QStringLiteral("крышка сундука"));
            Click(dialog->OkBtn);
        });
        Click(page_->O_EditDescBtn);
        QCOMPARE(page_->O_DescComboBox->itemText(1), QStringLiteral("крышка сундука"));
        page_->O_DescComboBox->setCurrentIndex(0);
        prompts_->ExpectConfirm(
            QStringLiteral("Вы точно хотите удалить выделенное дополнительное описание?"), true);
        Click(page_->O_DelDescBtn);
        QCOMPARE(page_->O_DescComboBox->count(), 1);
        QCOMPARE(page_->O_DescComboBox->currentText(), QStringLiteral("крышка сундука"));
        form_->ApplyPage();
        QCOMPARE(Obj(1003).ExtraDescs.size(), size_t{1});
        QCOMPARE(Obj(1003).ExtraDescs[0].Keywords, Utf8ToCp1251("крышка сундука"));
    }

    void namesAndTriggersNeedAnObject() {
        StartOn(true, /*confirm=*/false);
        Zone().Z_NewZoneEdit->setValue(20);
        Click(Zone().Z_NewBtn);
        ClickTab(ObjPageIndex);
        page_ = form_->findChild<TObjPage*>();
        // The blank record clears what an earlier object left.
        QVERIFY(page_->O_Name1Edit->text().isEmpty());
        QCOMPARE(page_->O_DescComboBox->count(), 0);
        QCOMPARE(page_->O_TriggerListBox->count(), 0);
        QVERIFY(page_->O_EffectStringGrid->item(0, 0) == nullptr ||
                page_->O_EffectStringGrid->item(0, 0)->text().isEmpty());

        prompts_->ExpectInformation(QStringLiteral("Создайте сначала новый объект"));
        page_->O_Name1Edit->setFocus();
        TypeText(page_->O_Name1Edit, QStringLiteral("x"));
        prompts_->ExpectError(QStringLiteral("Сначала выберите объект"));
        Click(page_->O_AddTriggerBtn);
        prompts_->ExpectError(QStringLiteral("Сначала выберите объект"));
        Click(page_->O_DelTriggerBtn);
        QVERIFY(!ApplyEnabled());
    }

    void copyingTheNominativeAsks() {
        Open();
        Select(1001);
        page_->O_Name1Edit->setText(QStringLiteral("броня"));
        prompts_->ExpectConfirm(
            QStringLiteral("Заменить текст во всех падежах на текст в именительном?"), false);
        Click(page_->O_CDupBtn);
        QCOMPARE(page_->O_Name2Edit->text(), QStringLiteral("кольчуги"));
        prompts_->ExpectConfirm(
            QStringLiteral("Заменить текст во всех падежах на текст в именительном?"), true);
        Click(page_->O_CDupBtn);
        QCOMPARE(page_->O_Name6Edit->text(), QStringLiteral("броня"));
        QVERIFY(ApplyEnabled());
        prompts_->ExpectError(QStringLiteral("Выберите триггер"));
        Click(page_->O_EditTriggerBtn);
    }

    void pageFitsTheWindow() {
        Open();
        Select(1009);
        QVERIFY(SaveShot(*form_, QStringLiteral("objpage.png")));
        page_->O_PageControl->setCurrentIndex(5);
        Select(1000);
        QVERIFY(SaveShot(*form_, QStringLiteral("objpage_additions.png")));
        for (QWidget* child : page_->findChildren<QWidget*>())
            if (child->isVisible() && child->parentWidget() == page_)
                QVERIFY(page_->rect().contains(child->geometry()));
    }
};

QTEST_MAIN(TObjPageTest)
#include "objpage_test.moc"
