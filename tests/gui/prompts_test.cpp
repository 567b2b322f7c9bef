#include "errorreporter.h"
#include "fakeprompts.h"
#include "guisupport.h"
#include "prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>

namespace {

// What a modal box or dialog looked like while it was open.
struct TSeen {
    bool Found = false;
    QString Title;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QStringList Buttons;
};

using guitest::WhenModal;

// Records the box and presses the button with the caption `press`.
void AnswerBox(TSeen& seen, const QString& press) {
    WhenModal([&seen, press](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            modal->close();
            return;
        }
        seen.Found = true;
        seen.Title = box->windowTitle();
        seen.Text = box->text();
        seen.Icon = box->icon();
        for (QAbstractButton* b : box->buttons())
            seen.Buttons << b->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == press) {
                b->click();
                return;
            }
        box->reject();
    });
}

} // namespace

class PromptsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        SetPrompts(nullptr);
        SetErrorReporter(nullptr);
    }

    void fakeAnswersFromItsScriptAndRecords() {
        {
            TFakePrompts fake("/opt/ved/");
            QCOMPARE(&Prompts(), static_cast<TPrompts*>(&fake));
            fake.ExpectConfirm(QStringLiteral("Вы хотите выйти?"), false);
            fake.ExpectConfirm(QStringLiteral("Сохранить всю зону?"), true);
            fake.ExpectSaveFile(QStringLiteral("/tmp/12.zon"));
            QVERIFY(!Prompts().Confirm(QStringLiteral("Вы хотите выйти?")));
            QVERIFY(Prompts().Confirm(QStringLiteral("Сохранить всю зону?")));
            const auto filters = ParseFileFilter(QStringLiteral("Zone files|*.zon|All files|*.*"));
            QCOMPARE(
                Prompts().SaveFile(QStringLiteral("/w/ZON"), QStringLiteral("12.zon"), filters),
                QStringLiteral("/tmp/12.zon"));
            QCOMPARE(Prompts().ProgramFolder(), std::string("/opt/ved/"));
            QVERIFY(fake.ScriptDone());
            QCOMPARE(fake.Calls().size(), 3);
            QCOMPARE(fake.Calls()[2].Kind, TPromptKind::SaveFile);
            QCOMPARE(fake.Calls()[2].Folder, QStringLiteral("/w/ZON"));
            QCOMPARE(fake.Calls()[2].Filters, filters);
        }
        // Gone with the fake: the real prompts are back.
        QVERIFY(dynamic_cast<TQtPrompts*>(&Prompts()) != nullptr);
    }

    void filterPairs() {
        const QList<TFileFilter> pairs =
            ParseFileFilter(QStringLiteral("Room files|*.wld|All files|*.*"));
        QCOMPARE(pairs.size(), 2);
        QCOMPARE(pairs[0], (TFileFilter{QStringLiteral("Room files"), QStringLiteral("*.wld")}));
        QCOMPARE(pairs[1], (TFileFilter{QStringLiteral("All files"), QStringLiteral("*.*")}));
        // A trailing description without a pattern is no entry.
        QCOMPARE(ParseFileFilter(QStringLiteral("Mob files|*.mob|Orphan")).size(), 1);
        QVERIFY(ParseFileFilter(QString()).isEmpty());
    }

    void worldFailureBecomesAnErrorBox() {
        TFakePrompts fake;
        TPromptErrorReporter reporter;
        SetErrorReporter(&reporter);
        QTemporaryDir dir;
        const std::string missing = dir.path().toStdString() + "/Зона/12.wld";
        fake.ExpectError(QStringLiteral("Не могу загрузить комнаты\nФайл: ") +
                         QString::fromStdString(missing) +
                         QStringLiteral("\n(Не смог открыть файл)"));
        QVERIFY(!LoadWorldFile("комнаты", missing, [](TWorldReader&) {}));
        QVERIFY(fake.ScriptDone());

        // A bad number on line 2 names the line.
        fake.ExpectError(
            QStringLiteral("Не могу загрузить объекты\nФайл: 5.obj\n(Ошибка в строке 2)"));
        QVERIFY(!LoadWorldBytes("объекты", "5.obj", "#500\r\nx\r\n", [](TWorldReader& r) {
            r.ReadLine();
            ToInt32(r.ReadLine());
        }));

        // A quiet read shows nothing (the fake would fail on any prompt).
        TReadContext quiet{.Quiet = true};
        QVERIFY(!LoadWorldFile(
            "комнаты", missing, [](TWorldReader&) {}, quiet));
        QCOMPARE(fake.Calls().size(), 2);
    }

    void confirmationIsAQuestionWithRussianButtons() {
        TQtPrompts real;
        TSeen seen;
        AnswerBox(seen, QStringLiteral("Нет"));
        QVERIFY(!real.Confirm(QStringLiteral("Вы действительно хотите удалить этот триггер?")));
        QVERIFY(seen.Found);
        QCOMPARE(seen.Icon, QMessageBox::Question);
        QCOMPARE(seen.Title, QStringLiteral("Подтверждение"));
        QCOMPARE(seen.Text, QStringLiteral("Вы действительно хотите удалить этот триггер?"));
        seen.Buttons.sort();
        QCOMPARE(seen.Buttons, (QStringList{QStringLiteral("Да"), QStringLiteral("Нет")}));

        TSeen yes;
        AnswerBox(yes, QStringLiteral("Да"));
        QVERIFY(real.Confirm(QStringLiteral("Вы хотите выйти?")));
        QVERIFY(yes.Found);

        // Escape is No.
        WhenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QVERIFY(!real.Confirm(QStringLiteral("Вы хотите выйти?")));
    }

    void aChoiceGivesThePressedButtonAndEscapeTheLast() {
        TQtPrompts real;
        const QStringList answers = {QStringLiteral("Сохранить все"),
                                     QStringLiteral("Не сохранять"), QStringLiteral("Отмена")};
        TSeen seen;
        AnswerBox(seen, QStringLiteral("Не сохранять"));
        QCOMPARE(real.Choose(QStringLiteral("Не сохранены зоны"), answers, 0), 1);
        QCOMPARE(seen.Buttons, answers);
        WhenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QCOMPARE(real.Choose(QStringLiteral("Не сохранены зоны"), answers, 0), 2);
        // Enter presses the default button the caller named.
        WhenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); });
        QCOMPARE(real.Choose(QStringLiteral("Не сохранены зоны"), answers, 2), 2);
        WhenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); });
        QCOMPARE(real.Choose(QStringLiteral("Не сохранены зоны"), answers, 1), 1);
    }

    void errorAndInformationBoxesHaveOneOk() {
        TQtPrompts real;
        TSeen error;
        AnswerBox(error, QStringLiteral("OK"));
        real.Error(QStringLiteral("Не могу загрузить зону\r\nФайл: 1.zon"));
        QVERIFY(error.Found);
        QCOMPARE(error.Icon, QMessageBox::Critical);
        QCOMPARE(error.Title, QStringLiteral("Ошибка"));
        QCOMPARE(error.Text, QStringLiteral("Не могу загрузить зону\nФайл: 1.zon"));
        QCOMPARE(error.Buttons, QStringList{QStringLiteral("OK")});

        TSeen info;
        AnswerBox(info, QStringLiteral("OK"));
        real.Information(QStringLiteral("Готово"));
        QVERIFY(info.Found);
        QCOMPARE(info.Icon, QMessageBox::Information);
        QCOMPARE(info.Title, QStringLiteral("Информация"));
        QCOMPARE(info.Buttons, QStringList{QStringLiteral("OK")});
    }

    void fileDialogsStartInTheFolderWithTheFilter() {
        QTemporaryDir dir;
        std::ofstream(dir.filePath(QStringLiteral("12.zon")).toStdString()) << "#12\r\n";
        const auto filters = ParseFileFilter(QStringLiteral("Zone files|*.zon|All files|*.*"));
        TQtPrompts real;

        QString folder;
        QStringList names;
        WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog) {
                modal->close();
                return;
            }
            folder = dialog->directory().absolutePath();
            names = dialog->nameFilters();
            static_cast<QDialog*>(dialog)->accept(); // the dialog's own checks run
        });
        QCOMPARE(real.OpenFile(dir.path(), QStringLiteral("12.zon"), filters),
                 dir.filePath(QStringLiteral("12.zon")));
        QCOMPARE(folder, QDir(dir.path()).absolutePath());
        QCOMPARE(names, (QStringList{QStringLiteral("Zone files (*.zon)"),
                                     QStringLiteral("All files (*.*)")}));

        // Cancel gives an empty path.
        WhenModal([](QWidget* modal) { modal->close(); });
        QVERIFY(real.SaveFile(dir.path(), QStringLiteral("13.zon"), filters).isEmpty());
    }

    void programFolderIsTheBinarysWithASlash() {
        const std::string folder = TQtPrompts().ProgramFolder();
        QCOMPARE(QString::fromStdString(folder),
                 QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    }
};

QTEST_MAIN(PromptsTest)
#include "prompts_test.moc"
