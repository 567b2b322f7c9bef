// The mob route dialog: a route text in, the route as rooms to edit, a
// route text out.

#include "destform.h"
#include "fakeprompts.h"
#include "guisupport.h"
#include "textcodec.h"
#include "vocabularyfill.h"
#include "room.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <functional>

using namespace guitest;

namespace {

QStringList Strings(std::initializer_list<const char*> texts) {
    QStringList out;
    for (const char* text : texts)
        out.append(QString::fromUtf8(text));
    return out;
}

QStringList Texts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

QList<int> Numbers(const QListWidget* list) {
    QList<int> numbers;
    for (int i = 0; i < list->count(); ++i)
        numbers.append(list->item(i)->data(kCodeRole).toInt());
    return numbers;
}

const QString kChooseRoom = QStringLiteral("Выберите комнату");
const QString kRemoveRoom = QStringLiteral("Вы действительно хотите удалить эту комнату из пути?");

} // namespace

class DestFormTest : public QObject {
    Q_OBJECT

private:
    TRoomList rooms_;
    // The dialog shown once, as the mob page leaves it between uses.
    void Activate(TDestForm& form) {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }

private slots:
    void initTestCase() {
        rooms_.AddNew(3001).Name = ToCp1251(QStringLiteral("Храм"));
        rooms_.AddNew(3002).Name = ToCp1251(QStringLiteral("Площадь"));
        rooms_.AddNew(3005).Name = ToCp1251(QStringLiteral("Ворота"));
    }

    void routeTextToListAndBack_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("back");
        QTest::newRow("empty") << "" << QStringList() << "";
        QTest::newRow("one room, no slash") << "3001" << Strings({"3001 Храм"}) << "3001";
        QTest::newRow("three rooms in order")
            << "3005/3001/3002" << Strings({"3005 Ворота", "3001 Храм", "3002 Площадь"})
            << "3005/3001/3002";
        QTest::newRow("the same room twice")
            << "3001/3002/3001" << Strings({"3001 Храм", "3002 Площадь", "3001 Храм"})
            << "3001/3002/3001";
        QTest::newRow("a room that does not exist")
            << "4242/3001" << Strings({"4242", "3001 Храм"}) << "4242/3001";
        QTest::newRow("leading zeros are a number") << "03001" << Strings({"3001 Храм"}) << "3001";
        QTest::newRow("empty parts carry nothing")
            << "/3001//3002/" << Strings({"3001 Храм", "3002 Площадь"}) << "3001/3002";
        // A hand-edited mob file: accepting the dialog must not drop the part.
        QTest::newRow("a part that is no number")
            << "3001/abc/3002" << Strings({"3001 Храм", "abc  (не номер комнаты)", "3002 Площадь"})
            << "3001/abc/3002";
    }
    void routeTextToListAndBack() {
        QFETCH(QString, route);
        QFETCH(QStringList, texts);
        QFETCH(QString, back);
        TDestForm form(rooms_);
        form.SetRoute(ToCp1251(route));
        QCOMPARE(Texts(form.ListBox1), texts);
        QCOMPARE(form.Route(), ToCp1251(back));
    }

    void duplicateRoomKeepsBothNumbers() {
        TDestForm form(rooms_);
        form.SetRoute("3001/3001");
        QCOMPARE(Numbers(form.ListBox1), (QList<int>{3001, 3001}));
    }

    void settingARouteReplacesTheList() {
        TDestForm form(rooms_);
        form.SetRoute("3001/3002");
        form.SetRoute("3005");
        QCOMPARE(form.Route(), std::string("3005"));
        form.SetRoute("");
        QCOMPARE(form.ListBox1->count(), 0);
        QCOMPARE(form.Route(), std::string());
    }

    void activationFillsTheRoomBoxAndClearsAcceptance() {
        TDestForm form(rooms_);
        QCOMPARE(form.windowTitle(), QStringLiteral("Destination"));
        QVERIFY(form.CheckBox1->isChecked());
        RunModal(form, [&] { Click(form.OkBtn); });
        QVERIFY(form.Accepted());
        rooms_.AddNew(3010).Name = ToCp1251(QStringLiteral("Колодец"));
        RunModal(form, [&] {
            QVERIFY(!form.Accepted());
            QCOMPARE(form.focusWidget(), form.ComboBox1);
            QCOMPARE(form.ComboBox1->count(), 4); // refreshed: the new room is there
            QCOMPARE(form.ComboBox1->itemText(3), QStringLiteral("3010  Колодец"));
            QCOMPARE(form.ComboBox1->itemData(3, kCodeRole).toInt(), 3010);
            QCOMPARE(form.ComboBox1->currentIndex(), -1);
        });
        rooms_.Delete(rooms_.IndexOfVNum(3010));
    }

    void roomSourceReplacesTheRoomList() {
        TDestForm form(rooms_);
        form.SetRoomSource([] { return std::vector<TListEntry>{{"7  Seven", 7}}; });
        Activate(form);
        QCOMPARE(form.ComboBox1->count(), 1);
        QCOMPARE(form.ComboBox1->itemData(0, kCodeRole).toInt(), 7);
    }

    void addingFromTheRoomBox() {
        TDestForm form(rooms_);
        form.SetRoute("3001");
        Activate(form);
        TFakePrompts prompts;
        prompts.ExpectError(kChooseRoom);
        Click(form.AddBtn1);
        QCOMPARE(form.Route(), std::string("3001"));

        form.ComboBox1->setCurrentIndex(form.ComboBox1->findData(3005, kCodeRole));
        Click(form.AddBtn1);
        QCOMPARE(Texts(form.ListBox1), Strings({"3001 Храм", "3005  Ворота"}));
        QCOMPARE(form.Route(), std::string("3001/3005"));
        QVERIFY(prompts.ScriptDone());
    }

    void addingATypedNumberZeroIncluded() {
        TDestForm form(rooms_);
        Activate(form);
        QCOMPARE(form.SpinEdit1->maximum(), 999999);
        Click(form.AddBtn2); // 0 is added too
        form.SpinEdit1->selectAll();
        QTest::keyClicks(form.SpinEdit1, QStringLiteral("3002"));
        Click(form.AddBtn2);
        QCOMPARE(Texts(form.ListBox1), Strings({"0", "3002"}));
        QCOMPARE(form.Route(), std::string("0/3002"));
    }

    void insertingBeforeTheSelectionOnlyWhenNotAtTheEnd() {
        TDestForm form(rooms_);
        form.SetRoute("3001/3002");
        Activate(form);
        form.SpinEdit1->setValue(77);

        // Checked: appended whatever is selected.
        form.ListBox1->setCurrentRow(0);
        Click(form.AddBtn2);
        QCOMPARE(form.Route(), std::string("3001/3002/77"));

        // Unchecked with a selection: before the selected entry, which stays selected.
        Click(form.CheckBox1);
        QVERIFY(!form.CheckBox1->isChecked());
        form.ListBox1->setCurrentRow(1);
        form.SpinEdit1->setValue(88);
        Click(form.AddBtn2);
        QCOMPARE(form.Route(), std::string("3001/88/3002/77"));
        QCOMPARE(form.ListBox1->currentItem()->text(), QStringLiteral("3002 Площадь"));

        // Unchecked with no selection: appended.
        form.ListBox1->clearSelection();
        form.SpinEdit1->setValue(99);
        Click(form.AddBtn2);
        QCOMPARE(form.Route(), std::string("3001/88/3002/77/99"));
        SaveShot(form, QStringLiteral("destform.png"));
    }

    void movingUpAndDown() {
        TDestForm form(rooms_);
        form.SetRoute("3001/3002/3005");
        Activate(form);
        form.ListBox1->setCurrentRow(0);
        Click(form.UpBtn); // the first entry up: nothing
        QCOMPARE(form.Route(), std::string("3001/3002/3005"));
        QCOMPARE(form.ListBox1->currentRow(), 0);

        form.ListBox1->setCurrentRow(2);
        Click(form.DownBtn); // the last entry down: nothing
        QCOMPARE(form.Route(), std::string("3001/3002/3005"));

        Click(form.UpBtn);
        QCOMPARE(form.Route(), std::string("3001/3005/3002"));
        QCOMPARE(form.ListBox1->currentRow(), 1);
        QCOMPARE(Texts(form.ListBox1), Strings({"3001 Храм", "3005 Ворота", "3002 Площадь"}));

        form.ListBox1->setCurrentRow(0);
        Click(form.DownBtn);
        QCOMPARE(form.Route(), std::string("3005/3001/3002"));
        QCOMPARE(form.ListBox1->currentRow(), 1);
    }

    void buttonsThatNeedASelection() {
        TDestForm form(rooms_);
        form.SetRoute("3001/3002");
        Activate(form);
        form.ListBox1->clearSelection();
        TFakePrompts prompts;
        for (int i = 0; i < 3; ++i)
            prompts.ExpectError(kChooseRoom);
        Click(form.UpBtn);
        Click(form.DownBtn);
        Click(form.DelBtn);
        QVERIFY(prompts.ScriptDone());
        QCOMPARE(form.Route(), std::string("3001/3002"));
    }

    void removingAsksFirst() {
        TDestForm form(rooms_);
        form.SetRoute("3001/3002/3005");
        Activate(form);
        TFakePrompts prompts;
        prompts.ExpectConfirm(kRemoveRoom, false);
        form.ListBox1->setCurrentRow(1);
        Click(form.DelBtn);
        QCOMPARE(form.Route(), std::string("3001/3002/3005"));

        prompts.ExpectConfirm(kRemoveRoom, true);
        Click(form.DelBtn);
        QCOMPARE(form.Route(), std::string("3001/3005"));
        QCOMPARE(form.ListBox1->currentRow(), 1); // the entry now at the same position

        prompts.ExpectConfirm(kRemoveRoom, true);
        Click(form.DelBtn);
        QCOMPARE(form.Route(), std::string("3001"));
        QCOMPARE(form.ListBox1->currentRow(), 0); // the last one

        prompts.ExpectConfirm(kRemoveRoom, true);
        Click(form.DelBtn);
        QCOMPARE(form.Route(), std::string());
        QVERIFY(prompts.ScriptDone());
    }

    void cancellingLeavesTheCallersRouteUntouched() {
        TDestForm form(rooms_);
        std::string destination = "3001/3002"; // the mob page's field
        const auto edit = [&](const std::function<void()>& close) {
            form.SetRoute(destination);
            RunModal(form, [&] {
                form.ListBox1->setCurrentRow(0);
                Click(form.DownBtn);
                Click(form.AddBtn2);
                close();
            });
            if (form.Accepted())
                destination = form.Route();
        };
        edit([&] { Click(form.CancelBtn); });
        QCOMPARE(destination, std::string("3001/3002"));
        edit([&] { QVERIFY(form.close()); });
        QCOMPARE(destination, std::string("3001/3002"));
        edit([&] { Click(form.OkBtn); });
        QCOMPARE(destination, std::string("3002/3001/0"));
    }
};

QTEST_MAIN(DestFormTest)
#include "dialogs_destform_test.moc"
