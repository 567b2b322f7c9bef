// The trigger, room-mob and room-object pickers, driven through their
// controls as the builder uses them.

#include "errorreporter.h"
#include "fakeprompts.h"
#include "guisupport.h"
#include "roommobform.h"
#include "roomobjform.h"
#include "textcodec.h"
#include "triggerform.h"
#include "vocabularyfill.h"
#include "trigger.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using namespace guitest;

namespace {

std::string ProgramFolder() {
    return std::string(VELMORA_PROGRAM_DIR) + "/";
}

void AddTrigger(TTriggerList& triggers, int32_t vnum, const char* nameUtf8, uint8_t kind) {
    TTrigger& trigger = triggers.AddNew(vnum);
    trigger.Name = ToCp1251(QString::fromUtf8(nameUtf8));
    trigger.Model = kind;
}

// The records of a list window as the main window hands them over: a model
// of texts with their numbers.
std::unique_ptr<QStandardItemModel> SourceList(const QList<QPair<QString, int>>& entries) {
    auto model = std::make_unique<QStandardItemModel>();
    for (const auto& [text, number] : entries) {
        auto* item = new QStandardItem(text);
        item->setData(number, Qt::UserRole);
        model->appendRow(item);
    }
    return model;
}

QStringList Texts(const QListView* list) {
    QStringList texts;
    for (int i = 0; i < list->model()->rowCount(); ++i)
        texts << list->model()->index(i, 0).data().toString();
    return texts;
}

QList<int> Numbers(const QListView* list) {
    QList<int> numbers;
    for (int i = 0; i < list->model()->rowCount(); ++i)
        numbers << list->model()->index(i, 0).data(Qt::UserRole).toInt();
    return numbers;
}

QPoint RowCentre(QListView* list, int row) {
    return list->visualRect(list->model()->index(row, 0)).center();
}

void ClickRow(QListView* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCentre(list, row));
}

// Press, release, double click and release, as the window system sends them.
void DoubleClickRow(QListView* list, int row) {
    const QPoint at = RowCentre(list, row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}

using guitest::Click;

// On the box itself: a check box takes clicks only on its box and caption.
void Click(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator =
        box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
}

void TypeNumber(QSpinBox* edit, int number) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QString::number(number));
}

QRect InWindow(const QWidget* window, const QWidget* w) {
    return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
}

// The shown controls lie inside the window, are not squeezed below their
// size hints and do not overlap; a picture of the window is saved.
void CheckLayout(QWidget* window, const QList<QWidget*>& controls, const QString& shot) {
    QList<QWidget*> shown;
    for (QWidget* w : controls)
        if (w->isVisibleTo(window))
            shown << w;
    for (QWidget* w : shown) {
        const QByteArray name = w->objectName().toUtf8();
        QVERIFY2(window->rect().contains(InWindow(window, w)), name.constData());
        QVERIFY2(w->width() >= w->minimumSizeHint().width(), name.constData());
        QVERIFY2(w->height() >= w->minimumSizeHint().height(), name.constData());
    }
    for (qsizetype i = 0; i < shown.size(); ++i)
        for (qsizetype j = i + 1; j < shown.size(); ++j)
            QVERIFY2(!InWindow(window, shown[i]).intersects(InWindow(window, shown[j])),
                     (shown[i]->objectName() + QLatin1Char(' ') + shown[j]->objectName())
                         .toUtf8()
                         .constData());
    QVERIFY(SaveShot(*window, shot));
}

// The parts every record picker has, whatever its own names for them.
struct TPickerParts {
    TRecordPicker* Form;
    QListView* List;
    QSpinBox* Edit;
    QString Prompt;
};

} // namespace

class PickersTest : public QObject {
    Q_OBJECT

private:
    TTriggerList triggers_;
    std::unique_ptr<TTriggerForm> triggerForm_;
    std::unique_ptr<TRoomMobForm> mobForm_;
    std::unique_ptr<TRoomObjForm> objForm_;
    std::unique_ptr<QStandardItemModel> mobs_, objects_;

    // The three pickers, each with three entries: 101, 103 and 105.
    QList<TPickerParts> Pickers() {
        return {{triggerForm_.get(), triggerForm_->TriggerListBox, triggerForm_->TriggerEdit,
                 QStringLiteral("Выберите триггер")},
                {mobForm_.get(), mobForm_->MobListBox, mobForm_->MobEdit,
                 QStringLiteral("Выберите моба")},
                {objForm_.get(), objForm_->ObjectListBox, objForm_->ObjectEdit,
                 QStringLiteral("Выберите объект")}};
    }

    // Runs `check` on each picker, shown and active, with a name for failures.
    void ForEachPicker(const std::function<void(const TPickerParts&)>& check) {
        for (const TPickerParts& picker : Pickers()) {
            qInfo("%s", qPrintable(picker.Form->windowTitle()));
            picker.Form->show();
            QVERIFY(QTest::qWaitForWindowActive(picker.Form));
            check(picker);
            picker.Form->hide();
            if (QTest::currentTestFailed())
                return;
        }
    }

private slots:
    void init() {
        triggers_.Clear();
        AddTrigger(triggers_, 101, "Приветствие", 2);
        AddTrigger(triggers_, 102, "Проклятие меча", 1);
        AddTrigger(triggers_, 103, "Ловушка", 2);
        AddTrigger(triggers_, 104, "Стражник", 0);
        AddTrigger(triggers_, 105, "Ловчая сеть", 2);
        triggerForm_ = std::make_unique<TTriggerForm>();
        triggerForm_->Fill(triggers_, 2);

        mobs_ = SourceList({{QStringLiteral("101  стражник"), 101},
                            {QStringLiteral("103  крыса"), 103},
                            {QStringLiteral("105  торговка"), 105}});
        mobForm_ = std::make_unique<TRoomMobForm>();
        mobForm_->SetEntries(mobs_.get());
        objects_ = SourceList({{QStringLiteral("101  меч"), 101},
                               {QStringLiteral("103  факел"), 103},
                               {QStringLiteral("105  щит"), 105}});
        objForm_ = std::make_unique<TRoomObjForm>(ProgramFolder());
        objForm_->SetEntries(objects_.get());
    }
    void cleanup() {
        TRecordPicker::SetRememberedSize({});
        triggerForm_.reset();
        mobForm_.reset();
        objForm_.reset();
        mobs_.reset();
        objects_.reset();
        triggers_.Clear();
    }

    void triggerPickerListsOneAttachmentKindInListOrder() {
        AddTrigger(triggers_, 100, "Последний", 2); // list order, not number order
        triggerForm_->Fill(triggers_, 2);
        QCOMPARE(Texts(triggerForm_->TriggerListBox),
                 (QStringList{QStringLiteral("101 Приветствие"), QStringLiteral("103 Ловушка"),
                              QStringLiteral("105 Ловчая сеть"), QStringLiteral("100 Последний")}));
        QCOMPARE(Numbers(triggerForm_->TriggerListBox), (QList<int>{101, 103, 105, 100}));
        triggerForm_->Fill(triggers_, 1);
        QCOMPARE(Numbers(triggerForm_->TriggerListBox), QList<int>{102});
        triggerForm_->Fill(triggers_, 0);
        QCOMPARE(Texts(triggerForm_->TriggerListBox), QStringList{QStringLiteral("104 Стражник")});
    }

    void mobAndObjectPickersShowTheListWindowsRecords() {
        const auto mobs =
            SourceList({{QStringLiteral("5  кот"), 5}, {QStringLiteral("7  пёс"), 7}});
        mobForm_->SetEntries(mobs.get());
        objForm_->SetEntries(mobs.get());
        // The windows' records themselves, not a copy: a rename shows at once.
        mobs->item(0)->setText(QStringLiteral("5  кошка"));
        for (const QListView* list : {mobForm_->MobListBox, objForm_->ObjectListBox}) {
            QCOMPARE(Texts(list),
                     (QStringList{QStringLiteral("5  кошка"), QStringLiteral("7  пёс")}));
            QCOMPARE(Numbers(list), (QList<int>{5, 7}));
        }
    }

    void okTakesTheSelectedRow() {
        ForEachPicker([](const TPickerParts& picker) {
            picker.Edit->setValue(0);
            picker.List->setFocus();
            picker.List->setCurrentIndex(picker.List->model()->index(2, 0));
            Click(picker.Form->AddBtn);
            QVERIFY(picker.Form->Accepted());
            QCOMPARE(picker.Edit->value(), 105);
        });
    }

    void chooseFillsTheNumberAndOkNeedsOne() {
        ForEachPicker([](const TPickerParts& picker) {
            TFakePrompts prompts;
            // Without a selection "Выбрать" is refused and the number stays.
            picker.List->clearSelection();
            picker.Edit->setValue(0);
            prompts.ExpectError(picker.Prompt);
            Click(picker.Form->OkBtn);
            QCOMPARE(picker.Edit->value(), 0);
            // So is "Ok" with the number 0; the window stays open.
            prompts.ExpectError(picker.Prompt);
            Click(picker.Form->AddBtn);
            QVERIFY(prompts.ScriptDone());
            QVERIFY(picker.Form->isVisible());
            QVERIFY(!picker.Form->Accepted());
            // "Выбрать" and a double click copy the entry's number, the window stays.
            ClickRow(picker.List, 1);
            Click(picker.Form->OkBtn);
            QCOMPARE(picker.Edit->value(), 103);
            DoubleClickRow(picker.List, 2);
            QCOMPARE(picker.Edit->value(), 105);
            QVERIFY(picker.Form->isVisible());
            QVERIFY(!picker.Form->Accepted());
            Click(picker.Form->AddBtn);
            QVERIFY(!picker.Form->isVisible());
            QVERIFY(picker.Form->Accepted());
            // The next showing starts unaccepted.
            picker.Form->show();
            QVERIFY(QTest::qWaitForWindowActive(picker.Form));
            QVERIFY(!picker.Form->Accepted());
        });
    }

    void closingAfterChooseLeavesItUnaccepted_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Отмена") << QStringLiteral("cancel");
        QTest::newRow("close box") << QStringLiteral("close");
        QTest::newRow("Escape") << QStringLiteral("escape");
    }
    void closingAfterChooseLeavesItUnaccepted() {
        QFETCH(QString, how);
        ForEachPicker([&how](const TPickerParts& picker) {
            ClickRow(picker.List, 0);
            Click(picker.Form->OkBtn);
            QCOMPARE(picker.Edit->value(), 101);
            if (how == QLatin1String("cancel"))
                Click(picker.Form->CancelBtn);
            else if (how == QLatin1String("close"))
                QVERIFY(picker.Form->close());
            else
                QTest::keyClick(picker.Edit, Qt::Key_Escape);
            QVERIFY(!picker.Form->isVisible());
            QVERIFY(!picker.Form->Accepted());
        });
    }

    void aTypedNumberOutsideTheListIsAcceptedUnchanged() {
        ForEachPicker([](const TPickerParts& picker) {
            TypeNumber(picker.Edit, 987654);
            QTest::keyClick(picker.Edit, Qt::Key_Return); // Enter is "Ok"
            QVERIFY(!picker.Form->isVisible());
            QVERIFY(picker.Form->Accepted());
        });
        QCOMPARE(triggerForm_->Number(), 987654);
        TRoomMob mob;
        mobForm_->Result(mob);
        QCOMPARE(mob.MobVNum, 987654);
        TLinkObj obj;
        objForm_->Result(obj);
        QCOMPARE(obj.ObjVNum, 987654);
    }

    void modalRunReportsTheChoice() {
        triggerForm_->Preset(103);
        bool selectedOnShow = false;
        QTimer::singleShot(0, triggerForm_.get(), [this, &selectedOnShow] {
            const QModelIndex current = triggerForm_->TriggerListBox->currentIndex();
            selectedOnShow = current.isValid() &&
                             triggerForm_->TriggerListBox->selectionModel()->isSelected(current) &&
                             current.data().toString().startsWith(u"103");
            Click(triggerForm_->AddBtn);
        });
        QCOMPARE(triggerForm_->exec(), int(QDialog::Accepted));
        QVERIFY(selectedOnShow);
        QVERIFY(triggerForm_->Accepted());
        QCOMPARE(triggerForm_->Number(), 103);

        // The next run, chosen but closed, reports nothing.
        QTimer::singleShot(0, triggerForm_.get(), [this] {
            ClickRow(triggerForm_->TriggerListBox, 0);
            Click(triggerForm_->OkBtn);
            triggerForm_->close();
        });
        QCOMPARE(triggerForm_->exec(), int(QDialog::Rejected));
        QVERIFY(!triggerForm_->Accepted());

        // A number no entry carries: nothing selected, the number kept.
        triggerForm_->Preset(555);
        QVERIFY(triggerForm_->TriggerListBox->selectionModel()->selectedIndexes().isEmpty());
        QCOMPARE(triggerForm_->Number(), 555);
    }

    void mobPickerPresetAndResult() {
        const TRoomMob mob{103, true, 101, 3, {{7, false, 2, 50}}};
        mobForm_->Preset(mob);
        QCOMPARE(mobForm_->MobListBox->currentIndex().row(), 1);
        QCOMPARE(mobForm_->MobEdit->value(), 103);
        QVERIFY(mobForm_->IFFlagCheckBox->isChecked());

        mobForm_->show();
        QVERIFY(QTest::qWaitForWindowActive(mobForm_.get()));
        Click(mobForm_->IFFlagCheckBox);
        DoubleClickRow(mobForm_->MobListBox, 2);
        Click(mobForm_->AddBtn);
        TRoomMob result = mob;
        mobForm_->Result(result);
        // The number and the if-flag change; what the picker does not edit stays.
        TRoomMob expected = mob;
        expected.MobVNum = 105;
        expected.IfFlag = false;
        QCOMPARE(result, expected);
    }

    void inventoryPresetDisablesTheWearPositions() {
        QComboBox shipped; // the positions are the vocabulary list's
        FillCodeCombo(ProgramFolder(), "ZON_Equipped", &shipped, 0, 0);
        QVERIFY(shipped.count() > 3);
        QCOMPARE(objForm_->MobComboBox->count(), shipped.count());
        QCOMPARE(objForm_->MobComboBox->itemText(3), shipped.itemText(3));

        const TLinkObj carried{103, true, -1, 40};
        objForm_->Preset(carried);
        QCOMPARE(objForm_->ObjectListBox->currentIndex().row(), 1);
        QVERIFY(objForm_->MobCheckBox->isChecked());
        QCOMPARE(objForm_->MobComboBox->currentIndex(), -1);
        QVERIFY(!objForm_->MobComboBox->isEnabled());
        QCOMPARE(objForm_->PercentEdit->value(), 40);
        TLinkObj result;
        objForm_->Result(result);
        QCOMPARE(result, carried);

        // Any other position enables the box again and selects that position,
        // also when the preset repeats the state the check box already has.
        const TLinkObj worn{101, false, static_cast<int8_t>(shipped.itemData(3).toInt()), 100};
        for (int twice = 0; twice < 2; ++twice) {
            objForm_->Preset(worn);
            QVERIFY(!objForm_->MobCheckBox->isChecked());
            QVERIFY(objForm_->MobComboBox->isEnabled());
            QCOMPARE(objForm_->MobComboBox->currentIndex(), 3);
        }
        objForm_->Result(result);
        QCOMPARE(result, worn);
        objForm_->Preset(carried);
        QVERIFY(!objForm_->MobComboBox->isEnabled());

        // A position the list does not name shows its number and is kept.
        objForm_->Preset({101, false, 99, 100});
        QCOMPARE(objForm_->MobComboBox->currentText(), QStringLiteral("99 (нет в списке)"));
        QVERIFY(objForm_->MobComboBox->isEnabled());
        objForm_->Result(result);
        QCOMPARE(result.WearPos, int8_t(99));
    }

    void theInventoryBoxSwitchesTheWearPositionsByTheUser() {
        objForm_->Preset({101, false, -1, 100});
        objForm_->show();
        QVERIFY(QTest::qWaitForWindowActive(objForm_.get()));
        // Out of the inventory: the box shows the position that will be stored.
        Click(objForm_->MobCheckBox);
        QVERIFY(objForm_->MobComboBox->isEnabled());
        QCOMPARE(objForm_->MobComboBox->currentIndex(), 0);
        TLinkObj result;
        objForm_->Result(result);
        QCOMPARE(result.WearPos, static_cast<int8_t>(objForm_->MobComboBox->itemData(0).toInt()));
        Click(objForm_->MobCheckBox);
        QVERIFY(!objForm_->MobComboBox->isEnabled());
        TypeNumber(objForm_->PercentEdit, 35);
        objForm_->Result(result);
        QCOMPARE(result.WearPos, int8_t(-1));
        QCOMPARE(result.Probability, int8_t(35));
    }

    // Letters typed as soon as a picker opens (the shop's goods picker is the
    // object picker in its plain mode) narrow its list.
    void typingIntoAnOpenedPickerFilters() {
        objForm_->SetPlainMode(true);
        const std::vector<TRecordPicker*> pickers{triggerForm_.get(), mobForm_.get(),
                                                  objForm_.get()};
        for (TRecordPicker* picker : pickers) {
            QString typed;
            QTimer::singleShot(0, picker, [picker, &typed] {
                if (QWidget* focus = picker->focusWidget())
                    QTest::keyClicks(focus, QStringLiteral("10"));
                typed = picker->FilterEdit->text();
                Click(picker->CancelBtn);
            });
            picker->exec();
            QCOMPARE(typed, QStringLiteral("10"));
        }
        objForm_->SetPlainMode(false);
    }

    // A picker grows with its window (the list takes the room), and the
    // next one opens at the size the builder left.
    void aPickerGrowsAndTheNextOpensAtItsSize() {
        triggerForm_->show();
        QVERIFY(QTest::qWaitForWindowExposed(triggerForm_.get()));
        const QSize first = triggerForm_->size();
        const int list = triggerForm_->TriggerListBox->height();
        triggerForm_->resize(first + QSize(200, 150));
        QTRY_COMPARE(triggerForm_->TriggerListBox->height(), list + 150);
        Click(triggerForm_->CancelBtn);
        mobForm_->show();
        QVERIFY(QTest::qWaitForWindowExposed(mobForm_.get()));
        QCOMPARE(mobForm_->size(), first + QSize(200, 150));
        mobForm_->hide();
    }

    void plainModeHidesTheParametersPercentageAndIfFlag() {
        objForm_->show();
        QVERIFY(QTest::qWaitForWindowExposed(objForm_.get()));
        const int fullList = objForm_->ObjectListBox->height();
        const QList<QWidget*> extras{objForm_->ParamGroupBox, objForm_->PanelPercent,
                                     objForm_->IFFlagCheckBox};
        objForm_->SetPlainMode(true);
        for (QWidget* w : extras)
            QVERIFY(w->isHidden());
        QTRY_VERIFY(objForm_->ObjectListBox->height() > fullList); // the list takes the room
        objForm_->SetPlainMode(false);
        for (QWidget* w : extras)
            QVERIFY(!w->isHidden());
        QTRY_COMPARE(objForm_->ObjectListBox->height(), fullList);
        // The callers' own switches, one part each.
        objForm_->ShowParams(false);
        objForm_->ShowPercent(false);
        QVERIFY(objForm_->ParamGroupBox->isHidden() && objForm_->PanelPercent->isHidden());
        QVERIFY(!objForm_->IFFlagCheckBox->isHidden());
    }

    void aMissingWearPositionListIsReportedAndTheWindowStillWorks() {
        QTemporaryDir empty;
        const std::string folder = empty.path().toStdString() + "/";
        TPromptErrorReporter reporter;
        SetErrorReporter(&reporter);
        {
            TFakePrompts prompts;
            prompts.ExpectError(QStringLiteral("Не могу открыть файл ") +
                                QString::fromStdString(folder) +
                                QStringLiteral("Bases/ZON_Equipped"));
            TRoomObjForm form(folder);
            QVERIFY(prompts.ScriptDone());
            QCOMPARE(form.MobComboBox->count(), 0);
            form.Preset({5, false, -1, 100});
            form.show();
            QVERIFY(QTest::qWaitForWindowActive(&form));
            Click(form.MobCheckBox);
            Click(form.AddBtn);
            QVERIFY(form.Accepted());
            TLinkObj result;
            form.Result(result);
            QCOMPARE(result, (TLinkObj{5, false, 0, 100}));
        }
        SetErrorReporter(nullptr);
    }

    void layoutAndPictures() {
        AddTrigger(triggers_, 145, "Очень длинное имя триггера для проверки ширины", 2);
        triggerForm_->Fill(triggers_, 2);
        triggerForm_->Preset(103);
        mobForm_->Preset({103, true, -1, 0, {}});
        objForm_->Preset({101, true, 5, 75});
        for (const TPickerParts& picker : Pickers()) {
            picker.Form->show();
            QVERIFY(QTest::qWaitForWindowExposed(picker.Form));
            QVERIFY(picker.Form->maximumSize().height() > picker.Form->minimumSizeHint().height());
        }
        const QList<QWidget*> common{triggerForm_->TriggerListBox, triggerForm_->TriggerEdit,
                                     triggerForm_->OkBtn, triggerForm_->AddBtn,
                                     triggerForm_->CancelBtn};
        CheckLayout(triggerForm_.get(), common, QStringLiteral("triggerform.png"));
        CheckLayout(mobForm_.get(),
                    {mobForm_->MobListBox, mobForm_->MobEdit, mobForm_->IFFlagCheckBox,
                     mobForm_->OkBtn, mobForm_->AddBtn, mobForm_->CancelBtn},
                    QStringLiteral("roommobform.png"));
        const QList<QWidget*> objectControls{objForm_->ObjectListBox,  objForm_->ObjectEdit,
                                             objForm_->IFFlagCheckBox, objForm_->ParamGroupBox,
                                             objForm_->PanelPercent,   objForm_->OkBtn,
                                             objForm_->AddBtn,         objForm_->CancelBtn};
        CheckLayout(objForm_.get(), objectControls, QStringLiteral("roomobjform.png"));
        CheckLayout(objForm_->ParamGroupBox, {objForm_->MobComboBox, objForm_->MobCheckBox},
                    QStringLiteral("roomobjform-params.png"));
        objForm_->SetPlainMode(true);
        QTest::qWait(0); // the layout takes the hidden parts away
        CheckLayout(objForm_.get(), objectControls, QStringLiteral("roomobjform-plain.png"));
    }
};

QTEST_MAIN(PickersTest)
#include "dialogs_pickers_test.moc"
