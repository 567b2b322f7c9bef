#include "codepage.h"
#include "hinting.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTest>
#include <QVBoxLayout>

class THintingTest : public QObject {
    Q_OBJECT

private slots:
    void hintsGoToTheNamedControls() {
        QWidget window;
        auto* price = new QLineEdit(&window);
        price->setObjectName(QStringLiteral("O_PriceEdit"));
        auto* name = new QLineEdit(&window);
        name->setObjectName(QStringLiteral("O_NameEdit"));
        const int placed = ApplyHints(&window, {{"O_PriceEdit", Utf8ToCp1251("Цена")},
                                                {"O_Missing", "nothing here"},
                                                {"O_PriceEdit", Utf8ToCp1251("Цена в кунах")}});
        QCOMPARE(placed, 2);
        QCOMPARE(price->toolTip(), QStringLiteral("Цена в кунах"));
        QCOMPARE(price->statusTip(), QStringLiteral("Цена в кунах"));
        QVERIFY(name->toolTip().isEmpty());
    }

    void flagListShowsTheItemUnderTheMouse() {
        QMainWindow window;
        auto* list = new QListWidget;
        list->setObjectName(QStringLiteral("R_TypeCheckListBox"));
        list->addItems(
            {QStringLiteral("Тёмная комната, где ничего не видно"), QStringLiteral("Мирная")});
        window.setCentralWidget(list);
        window.statusBar()->show();
        WatchFlagLists(&window, window.statusBar());
        window.resize(300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const auto moveTo = [list](const QPoint& at) {
            QMouseEvent move(QEvent::MouseMove, at, list->viewport()->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(list->viewport(), &move);
        };
        moveTo(list->visualItemRect(list->item(0)).center());
        QCOMPARE(window.statusBar()->currentMessage(),
                 QStringLiteral("Тёмная комната, где ничего не видно"));
        moveTo(list->visualItemRect(list->item(1)).center());
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Мирная"));
        moveTo(QPoint(5, list->viewport()->height() - 3));
        QCOMPARE(window.statusBar()->currentMessage(), QString());
    }
};

QTEST_MAIN(THintingTest)
#include "hinting_test.moc"
