// The list windows of the rooms, objects, mobs, shops and triggers.

#include "fakeprompts.h"
#include "guisupport.h"
#include "listform.h"
#include "recordlistmodel.h"
#include "textcodec.h"

#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QTest>

using namespace guitest;

namespace {

// The row of a record whose list line is `text` ("number  name").
TListName Entry(const QString& text, int32_t vnum) {
    return {vnum, true, ToCp1251(text.section(QStringLiteral("  "), 1))};
}

QStringList Texts(const QAbstractItemModel& model) {
    QStringList texts;
    for (int i = 0; i < model.rowCount(); ++i)
        texts << model.index(i, 0).data().toString();
    return texts;
}

// A model over entries the test holds, as the editor's are over its lists.
struct TListedRecords {
    std::vector<TListName> Entries;
    TRecordListModel Model{[this](std::optional<int32_t> zone) {
        std::vector<TListName> out;
        for (const TListName& entry : Entries)
            if (!zone || ZoneOf(entry.VNum) == *zone)
                out.push_back(entry);
        return out;
    }};
    void Set(std::vector<TListName> entries) {
        Entries = std::move(entries);
        Model.Reload();
    }
};

// Press, release, double click and release, as the window system sends them.
void DoubleClick(QWidget* widget, QPoint at) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

} // namespace

class ListFormTest : public QObject {
    Q_OBJECT

private slots:
    void aResizableToolWindowFilledByItsList() {
        TListForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Список"));
        QVERIFY(form.windowFlags().testFlag(Qt::Tool));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.minimumSize() != form.maximumSize());
        // The list takes the window below its filter box.
        const auto fills = [&form] {
            const QRect list = form.ListBox1->geometry();
            return list.x() == 0 && list.bottomRight() == form.rect().bottomRight() &&
                   list.y() > form.FilterEdit->geometry().bottom();
        };
        QVERIFY(fills());
        form.resize(form.width() + 80, form.height() + 60);
        QVERIFY(fills());
    }

    void rowsSortByNumberAndFollowAZoneRowByRow() {
        TListedRecords records;
        records.Set({Entry(QStringLiteral("1040  Ёжик"), 1040),
                     Entry(QStringLiteral("106  Волк"), 106),
                     Entry(QStringLiteral("1001  Арбалет"), 1001)});
        QCOMPARE(Texts(records.Model),
                 (QStringList{QStringLiteral("106  Волк"), QStringLiteral("1001  Арбалет"),
                              QStringLiteral("1040  Ёжик")}));
        QCOMPARE(records.Model.index(1, 0).data(Qt::UserRole).toInt(), 1001);
        QCOMPARE(records.Model.RowOf(1040), 2);

        TListForm form;
        form.SetModel(&records.Model);
        form.ListBox1->setCurrentIndex(form.ListBox1->model()->index(0, 0));
        QSignalSpy inserted(&records.Model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&records.Model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy changed(&records.Model, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(&records.Model, &QAbstractItemModel::modelReset);
        // Zone 10 loses 1001, gains 1005 and renames 1040; zone 1 stays.
        records.Entries = {Entry(QStringLiteral("1040  Ёж"), 1040),
                           Entry(QStringLiteral("106  Волк"), 106),
                           Entry(QStringLiteral("1005  Лук"), 1005)};
        records.Model.ReloadZone(10);
        QCOMPARE(Texts(records.Model),
                 (QStringList{QStringLiteral("106  Волк"), QStringLiteral("1005  Лук"),
                              QStringLiteral("1040  Ёж")}));
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(reset.count(), 0);
        QCOMPARE(form.ListBox1->currentIndex().row(), 0);
        records.Entries.clear();
        records.Model.ReloadZone(10);
        QCOMPARE(Texts(records.Model), QStringList{QStringLiteral("106  Волк")});
    }

    void theFilterKeepsTheRowsHoldingTheTypedText() {
        TListedRecords records;
        records.Set({Entry(QStringLiteral("3101  &WВолк&n"), 3101),
                     Entry(QStringLiteral("3102  Лиса"), 3102),
                     Entry(QStringLiteral("4310  волчица"), 4310)});
        TListForm form;
        form.SetModel(&records.Model);
        // Colour codes are not shown; the filter ignores letter case.
        QCOMPARE(Texts(*form.ListBox1->model()).front(), QStringLiteral("3101  Волк"));
        form.FilterEdit->setFocus();
        TypeText(form.FilterEdit, QStringLiteral("ВОЛ"));
        QCOMPARE(Texts(*form.ListBox1->model()),
                 (QStringList{QStringLiteral("3101  Волк"), QStringLiteral("4310  волчица")}));
        form.FilterEdit->clear();
        TypeText(form.FilterEdit, QStringLiteral("310"));
        QCOMPARE(form.ListBox1->model()->rowCount(), 3);
    }

    void aDoubleClickTellsWhichElementWasChosen() {
        TFakePrompts prompts;
        TListedRecords records;
        records.Set(
            {Entry(QStringLiteral("3101  Волк"), 3101), Entry(QStringLiteral("3102  Лиса"), 3102)});
        TListForm form;
        form.SetModel(&records.Model);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        prompts.ExpectInformation(
            QStringLiteral("Вы выбрали элемент #3102 (3102  Лиса)\r\nПозже отсюда можно будет "
                           "просто перетаскивать нужные элементы"));
        const QRect rect = form.ListBox1->visualRect(form.ListBox1->model()->index(1, 0));
        DoubleClick(form.ListBox1->viewport(), rect.center());
        QVERIFY(prompts.ScriptDone());
        // A double click below the entries chooses nothing and says nothing.
        DoubleClick(form.ListBox1->viewport(),
                    QPoint(rect.center().x(), form.ListBox1->viewport()->height() - 2));
    }

    void closingTellsWhichListClosed() {
        TListForm form;
        QCOMPARE(form.KindTag(), 0);
        form.SetKindTag(3);
        QSignalSpy closed(&form, &TListForm::closed);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.close());
        QVERIFY(!form.isVisible());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed.at(0).at(0).toInt(), 3);
        // Hiding it from the menu is no closing by the user.
        form.show();
        form.hide();
        QCOMPARE(closed.count(), 1);
    }

    void picture() {
        TListForm form;
        form.setWindowTitle(QStringLiteral("Список мобов"));
        TListedRecords records;
        std::vector<TListName> entries;
        const QStringList names{QStringLiteral("стражник у ворот"),
                                QStringLiteral("торговка рыбой"), QStringLiteral("бродячий пёс"),
                                QStringLiteral("старый мельник")};
        for (int i = 0; i < names.size(); ++i)
            entries.push_back(
                Entry(QStringLiteral("%1  %2").arg(3100 + i).arg(names[i]), 3100 + i));
        records.Set(entries);
        form.SetModel(&records.Model);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        for (int i = 0; i < records.Model.rowCount(); ++i)
            QVERIFY(form.ListBox1->viewport()->rect().contains(
                form.ListBox1->visualRect(form.ListBox1->model()->index(i, 0))));
        QVERIFY(SaveShot(form, QStringLiteral("listform.png")));
    }
};

QTEST_MAIN(ListFormTest)
#include "dialogs_listform_test.moc"
