#include "editorfixture.h"
#include "listform.h"
#include "numberform.h"
#include "world.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QPushButton>
#include <QSpinBox>
#include <optional>

using namespace guitest;

namespace {

// Answers the number dialog: the number (mode 1) or the quantity (mode 2),
// and the template position (none given: the one the dialog proposes).
void AnswerNumberDialog(int number, int quantity = 0, std::optional<int> templet = {}) {
    WhenModal([=](QWidget* window) {
        auto* dialog = qobject_cast<TNumberForm*>(window);
        QVERIFY(dialog);
        // Entering a field picks the mode; the focus event is sent itself,
        // since a loaded offscreen run may not have activated the window yet.
        QSpinBox* field = quantity > 0 ? dialog->QtyEdit : dialog->NumEdit;
        field->setFocus();
        QFocusEvent enter(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(field, &enter);
        field->setValue(quantity > 0 ? quantity : number);
        if (templet)
            dialog->ComboBox1->setCurrentIndex(*templet);
        Click(dialog->OkBtn);
    });
}

// Types a number into the number dialog, as the builder would, and accepts it.
void TypeIntoNumberDialog(const QString& digits) {
    WhenModal([=](QWidget* window) {
        auto* dialog = qobject_cast<TNumberForm*>(window);
        QVERIFY(dialog);
        QSpinBox* field = dialog->NumEdit;
        field->setFocus();
        QFocusEvent enter(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(field, &enter);
        field->selectAll();
        QTest::keyClicks(field, digits);
        QCOMPARE(field->value(), digits.toInt());
        Click(dialog->OkBtn);
    });
}

std::vector<int32_t> Numbers(const TRecordPage& page) {
    std::vector<int32_t> out;
    for (int i = 0; i < page.Count(); ++i)
        out.push_back(page.IDComboBox->itemData(i).toInt());
    return out;
}

} // namespace

class TRecordCommandsTest : public TEditorFixture {
    Q_OBJECT

    // A fresh zone 20 with no records, on the given page.
    void StartOnEmptyZone(int page) {
        StartOn(true, /*confirm=*/false);
        Zone().Z_NewZoneEdit->setValue(20);
        Click(Zone().Z_NewBtn);
        ClickTab(page);
        QCOMPARE(form_->CurrentPage(), page);
    }

private slots:
    void cleanup() { Finish(); }

    void addProposesTheFirstFreeNumber() {
        StartOnEmptyZone(ObjPageIndex);
        QVERIFY(!Action("N18")->isEnabled());
        QVERIFY(Action("N17")->isEnabled());
        TNumberForm& dialog = *form_->NumberForm;
        WhenModal([&dialog](QWidget*) {
            QCOMPARE(dialog.NumEdit->value(), 0);
            QCOMPARE(dialog.QtyEdit->maximum(), 100);
            Click(dialog.CancelBtn);
        });
        Action("N17")->trigger();
        QCOMPARE(Page(ObjPageIndex).Count(), 0);

        for (const int offset : {0, 1, 3}) {
            AnswerNumberDialog(offset);
            Action("N17")->trigger();
        }
        QCOMPARE(Numbers(Page(ObjPageIndex)), (std::vector<int32_t>{2000, 2001, 2003}));
        QCOMPARE(*Page(ObjPageIndex).Current, 2003);
        QVERIFY(Action("N18")->isEnabled());
        QCOMPARE(form_->ListForms[ObjListKind]->ListBox1->model()->rowCount(), World().Objs.Count());
        WhenModal([&dialog](QWidget*) {
            QCOMPARE(dialog.NumEdit->value(), 2);
            QCOMPARE(dialog.QtyEdit->maximum(), 97);
            Click(dialog.CancelBtn);
        });
        Click(form_->ToolsForm->NewBtn);

        // A number already taken is refused.
        AnswerNumberDialog(1);
        prompts_->ExpectError(QStringLiteral("Объект с таким номером уже есть"));
        Action("N17")->trigger();
        QCOMPARE(Page(ObjPageIndex).Count(), 3);
    }

    void addByQuantityFillsTheGapsFirst() {
        StartOnEmptyZone(MobPageIndex);
        for (const int offset : {0, 2}) {
            AnswerNumberDialog(offset);
            Action("N17")->trigger();
        }
        AnswerNumberDialog(0, 3);
        Action("N17")->trigger();
        QCOMPARE(Numbers(Page(MobPageIndex)), (std::vector<int32_t>{2000, 2001, 2002, 2003, 2004}));
        QCOMPARE(*Page(MobPageIndex).Current, 2001);
    }

    void aFullZoneRefusesMore() {
        StartOnEmptyZone(TrigPageIndex);
        AnswerNumberDialog(0, 99);
        Action("N17")->trigger();
        TNumberForm& dialog = *form_->NumberForm;
        WhenModal([&dialog](QWidget*) {
            QCOMPARE(dialog.QtyEdit->maximum(), 1);
            QCOMPARE(dialog.NumEdit->value(), 99);
            Click(dialog.CancelBtn);
        });
        Action("N17")->trigger();
        QCOMPARE(Page(TrigPageIndex).Count(), 99);
        AnswerNumberDialog(99);
        Action("N17")->trigger();
        QCOMPARE(Page(TrigPageIndex).Count(), 100);
        prompts_->ExpectError(QStringLiteral("В зону больше нельзя добавить триггеров"));
        Action("N17")->trigger();
    }

    // The server makes room NN99 of every zone itself: adding rooms stops
    // before it, and that number typed by hand is refused with a message.
    void roomsStopBeforeTheServersOwnNumber() {
        StartOnEmptyZone(RoomPageIndex);
        const QString refused =
            QStringLiteral("Номер 2099 сервер отводит своей комнате (номер зоны и 99): выберите "
                           "другой номер");
        TNumberForm& dialog = *form_->NumberForm;
        WhenModal([&dialog](QWidget*) {
            QCOMPARE(dialog.QtyEdit->maximum(), 99);
            Click(dialog.CancelBtn);
        });
        Action("N17")->trigger();
        TypeIntoNumberDialog(QStringLiteral("99"));
        prompts_->ExpectError(refused);
        Action("N17")->trigger();
        QCOMPARE(Page(RoomPageIndex).Count(), 0);

        AnswerNumberDialog(0, 99);
        Action("N17")->trigger();
        QCOMPARE(Page(RoomPageIndex).Count(), 99);
        QVERIFY(World().Rooms.IsFreeVNum(2099));
        prompts_->ExpectError(QStringLiteral("В зону больше нельзя добавить комнат"));
        Click(form_->ToolsForm->NewBtn);
        TypeIntoNumberDialog(QStringLiteral("99"));
        prompts_->ExpectError(refused);
        Action("N19")->trigger();
        QVERIFY(World().Rooms.IsFreeVNum(2099));
        // Other kinds keep all hundred numbers.
        ClickTab(ObjPageIndex);
        TypeIntoNumberDialog(QStringLiteral("99"));
        Action("N17")->trigger();
        QVERIFY(!World().Objs.IsFreeVNum(2099));
    }

    void aTemplateFillsTheNewRecord() {
        StartOnEmptyZone(RoomPageIndex);
        QVERIFY(form_->RoomTemplet.Count() > 0);
        AnswerNumberDialog(5, 0, 1);
        Action("N17")->trigger();
        const TRoom& room = *World().Rooms.Find(2005);
        QVERIFY(!room.Name.empty());
        QCOMPARE(room.Name, form_->RoomTemplet.Record(1).Name);
        QCOMPARE(room.VNum, 2005);
        // A new room is not on the map yet.
        QCOMPARE(Map().UnplacedRooms().back().VNum, 2005);
    }

    // The template the dialog proposes is the empty one: a plain add makes
    // the record a new number gets, on every page.
    void aPlainAddMakesABlankRecord() {
        StartOnEmptyZone(RoomPageIndex);
        const auto addedAndBlank = [this](int page, auto& list) {
            ClickTab(page);
            AnswerNumberDialog(0);
            Action("N17")->trigger();
            TStringList added;
            list.SaveToStrings(added, 20);
            list.Delete(list.IndexOfVNum(2000));
            list.AddNew(2000);
            TStringList blank;
            list.SaveToStrings(blank, 20);
            return Page(page).Current == 2000 && added == blank;
        };
        QVERIFY(addedAndBlank(RoomPageIndex, World().Rooms));
        QVERIFY(addedAndBlank(ObjPageIndex, World().Objs));
        QVERIFY(addedAndBlank(MobPageIndex, World().Mobs));
        QVERIFY(addedAndBlank(ShopPageIndex, World().Shops));
        QVERIFY(addedAndBlank(TrigPageIndex, World().Triggers));
    }

    void copyTakesTheContentButNoExits() {
        StartOn(true, /*confirm=*/false);
        ClickTab(RoomPageIndex);
        const TRoom& source = *World().Rooms.Find(1000);
        const size_t unplaced = Map().UnplacedRooms().size();
        const int before = form_->ListForms[RoomListKind]->ListBox1->model()->rowCount();
        AnswerNumberDialog(50, 0, 0); // a template chosen here is ignored
        Click(form_->ToolsForm->CopyBtn);
        const TRoom& copy = *World().Rooms.Find(1050);
        QCOMPARE(copy.Name, source.Name);
        QCOMPARE(copy.Desc, source.Desc);
        QCOMPARE(copy.Mobs.size(), source.Mobs.size());
        QCOMPARE(copy.Exits[DirNorth].ToRoom, 0);
        QCOMPARE(int(copy.MapLevel), 0);
        QCOMPARE(*Page(RoomPageIndex).Current, 1050);
        QCOMPARE(Map().UnplacedRooms().size(), unplaced + 1);
        QCOMPARE(form_->ListForms[RoomListKind]->ListBox1->model()->rowCount(), before + 1);

        AnswerNumberDialog(0);
        prompts_->ExpectError(QStringLiteral("Комната с таким номером уже есть"));
        Action("N19")->trigger();
    }

    void deleteAsksAndSelectsTheNeighbour() {
        StartOnEmptyZone(ShopPageIndex);
        AnswerNumberDialog(0, 2);
        Action("N17")->trigger();
        QCOMPARE(Page(ShopPageIndex).IDComboBox->itemText(0), QStringLiteral("2000"));
        Action("N30")->trigger();
        Page(ShopPageIndex).Change();
        prompts_->ExpectConfirm(QStringLiteral("Вы действительно хотите удалить этот магазин?"),
                                false);
        Action("N18")->trigger();
        QCOMPARE(Page(ShopPageIndex).Count(), 2);
        QVERIFY(ApplyEnabled());

        // The edits are dropped without "Сохранить изменения?".
        prompts_->ExpectConfirm(QStringLiteral("Вы действительно хотите удалить этот магазин?"),
                                true);
        Click(form_->ToolsForm->DeleteBtn);
        QVERIFY(World().Shops.IsFreeVNum(2001));
        QCOMPARE(Numbers(Page(ShopPageIndex)), std::vector<int32_t>{2000});
        QCOMPARE(*Page(ShopPageIndex).Current, 2000);
        QVERIFY(!ApplyEnabled());
        prompts_->ExpectConfirm(QStringLiteral("Вы действительно хотите удалить этот магазин?"),
                                true);
        Action("N18")->trigger();
        QCOMPARE(Page(ShopPageIndex).Count(), 0);
        QVERIFY(!Action("N18")->isEnabled());
        QVERIFY(!Action("N19")->isEnabled());
        QVERIFY(!Action("N29")->isEnabled());
        QVERIFY(Action("N17")->isEnabled());
    }

    void onTheZonePageAddMakesAZone() {
        StartOn(true);
        Zone().Z_NewZoneEdit->setValue(30);
        Action("N17")->trigger();
        QCOMPARE(Zone().ZoneCount(), 3);
        Action("N18")->trigger(); // nothing to delete on the zone page
        Action("N19")->trigger();
        QCOMPARE(Zone().ZoneCount(), 3);
    }
};

QTEST_MAIN(TRecordCommandsTest)
#include "recordcommands_test.moc"
