#include "textcodec.h"
#include "vocabularyfill.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QListWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

// The fills against real widgets, with list files in a temporary program folder.
class VocabularyFillTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::string Folder() const { return dir_.path().toStdString() + "/"; }
    void WriteList(const char* name, const QString& text) {
        QDir(dir_.path()).mkpath(QStringLiteral("Bases"));
        std::ofstream(Folder() + "Bases/" + name, std::ios::binary) << ToCp1251(text);
    }

    // Whether narrow and wide letters take the same room in the box's font.
    static bool LinesUp(const QWidget& box) {
        return box.fontMetrics().horizontalAdvance(QStringLiteral("iiii")) ==
               box.fontMetrics().horizontalAdvance(QStringLiteral("ЖЖЖЖ"));
    }

private slots:
    void codedComboCarriesCodesAndPads() {
        WriteList("SectorType",
                  QStringLiteral("* sectors\r\n0\tВнутри\r\n\r\n1\tГород\t(1)\r\n5\tЛес\r\n"));
        QComboBox combo;
        FillCodeCombo(Folder(), "SectorType", &combo, 8, 1);
        QCOMPARE(combo.count(), 3);
        QCOMPARE(combo.itemText(1), QStringLiteral("Город   (1)"));
        QVERIFY(LinesUp(combo)); // the padded columns line up
        QCOMPARE(combo.currentIndex(), 1);
        ShowCode(&combo, 5);
        QCOMPARE(combo.currentText(), QStringLiteral("Лес     "));
        QCOMPARE(ReadCode(&combo), 5);
        // No item carries 4: an entry of its own shows and keeps it, until a
        // named value is shown.
        ShowCode(&combo, 4);
        QCOMPARE(combo.currentText(), QStringLiteral("4 (нет в списке)"));
        QCOMPARE(ReadCode(&combo, -7), 4);
        ShowCode(&combo, 4);
        QCOMPARE(combo.count(), 4);
        ShowCode(&combo, 1);
        QCOMPARE(combo.count(), 3);
        QCOMPARE(ReadCode(&combo, -7), 1);
        combo.setCurrentIndex(-1);
        QCOMPARE(ReadCode(&combo, -7), -7);
    }

    void spellComboShowsTheName() {
        WriteList("Spells", QStringLiteral("12\t3\t15\tОгненный шар\r\n"));
        QComboBox combo;
        FillSpellCombo(Folder(), "Spells", &combo, 0);
        QCOMPARE(combo.itemText(0), QStringLiteral("Огненный шар"));
        QVERIFY(!LinesUp(combo));
        QCOMPARE(combo.itemData(0, kCodeRole).toInt(), 12);
    }

    void flagListRoundTrip() {
        WriteList("RoomVector", QStringLiteral("a\tТёмная\r\nb0\tСвет\r\nc1\tМирная\r\n"));
        QListWidget list;
        FillFlagList(Folder(), "RoomVector", &list, 0);
        QCOMPARE(list.count(), 3);
        QCOMPARE(list.currentRow(), -1);
        FlagsToChecks("c1a0", &list);
        QCOMPARE(list.item(0)->checkState(), Qt::Checked);
        QCOMPARE(list.item(1)->checkState(), Qt::Unchecked);
        QCOMPARE(ChecksToFlags(&list), std::string("a0c1"));
        // A click on the check box area toggles the flag, as the builder does it.
        list.show();
        const QRect rect = list.visualItemRect(list.item(1));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          QPoint(rect.left() + 8, rect.center().y()));
        QCOMPARE(ChecksToFlags(&list), std::string("a0b0c1"));
    }

    void gridsHaveHeadingsAndFixedColumns() {
        WriteList("Spells_Mob", QStringLiteral("12\t3\t15\tОгненный шар\r\n30\t1\t1\tСвет\r\n"));
        QTableWidget grid;
        FillGrid(Folder(), "Spells_Mob", &grid, TGridKind::Spells);
        QCOMPARE(grid.rowCount(), 2);
        QCOMPARE(grid.columnCount(), 4);
        QCOMPARE(grid.horizontalHeaderItem(3)->text(), QStringLiteral("Количество"));
        QCOMPARE(grid.columnWidth(0), 181);
        QCOMPARE(grid.item(0, 0)->text(), QStringLiteral("Огненный шар"));
        QCOMPARE(grid.item(0, 0)->data(kCodeRole).toInt(), 12);
        QCOMPARE(grid.item(1, 1)->text(), QStringLiteral("1"));
        QVERIFY(!(grid.item(0, 2)->flags() & Qt::ItemIsEditable));
        QVERIFY(grid.item(0, 3)->flags() & Qt::ItemIsEditable);

        WriteList("Skills_Mob", QStringLiteral("5\t1\t20\tПарирование\r\n"));
        QTableWidget skills;
        FillGrid(Folder(), "Skills_Mob", &skills, TGridKind::Skills);
        QCOMPARE(skills.columnCount(), 3);
        QCOMPARE(skills.item(0, 1)->text(), QStringLiteral("20"));
        QCOMPARE(skills.horizontalHeaderItem(2)->text(), QStringLiteral("Владение (%)"));
    }

    void missingListAndBadCodeThrow() {
        QComboBox combo;
        QVERIFY_THROWS_EXCEPTION(TVocabularyError, FillCodeCombo(Folder(), "Nope", &combo, 0, 0));
        WriteList("Type", QStringLiteral("x\tbad\r\n"));
        QVERIFY_THROWS_EXCEPTION(TVocabularyError, FillCodeCombo(Folder(), "Type", &combo, 0, 0));
    }

    void codecSubstitutesWhatWindows1251CannotHold() {
        int lost = 0;
        QCOMPARE(ToCp1251(QStringLiteral("Ёж ✓"), &lost), std::string("\xA8\xE6 ?"));
        QCOMPARE(lost, 1);
        QCOMPARE(FromCp1251("\xA8\xE6"), QStringLiteral("Ёж"));
    }
};

QTEST_MAIN(VocabularyFillTest)
#include "vocabularyfill_test.moc"
