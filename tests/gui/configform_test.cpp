#include "configform.h"
#include "fakeprompts.h"
#include "guisupport.h"
#include "textcodec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <sstream>

using namespace guitest;

namespace {

struct TChecks {
    bool Status, Confirm, Tools, Position;
};

TChecks ChecksOf(const TConfigForm& form) {
    return {form.CheckBox1->isChecked(), form.CheckBox2->isChecked(), form.CheckBox3->isChecked(),
            form.CheckBox4->isChecked()};
}

bool operator==(const TChecks& a, const TChecks& b) {
    return a.Status == b.Status && a.Confirm == b.Confirm && a.Tools == b.Tools &&
           a.Position == b.Position;
}

char* toString(const TChecks& c) {
    return QTest::toString(
        QStringLiteral("%1 %2 %3 %4").arg(c.Status).arg(c.Confirm).arg(c.Tools).arg(c.Position));
}

// Picks a list entry the way the user does: open the list, move, press Enter.
void ChooseEntry(QComboBox* combo, int index) {
    combo->setFocus();
    combo->setCurrentIndex(index == 0 ? 1 : 0);
    QTest::keyClick(combo, index == 0 ? Qt::Key_Up : Qt::Key_Down);
}

} // namespace

Q_DECLARE_METATYPE(TChecks)

class ConfigFormTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::string IniPath() const {
        return dir_.filePath(QStringLiteral("VelmoraEd.ini")).toStdString();
    }
    void WriteIni(const QString& text) {
        std::ofstream(IniPath(), std::ios::binary | std::ios::trunc) << ToCp1251(text);
    }
    std::string ReadIni() const {
        std::ifstream in(IniPath(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void Load(TConfigForm& form) { form.loadSettings(ReadSettings(TProfileFile(IniPath()))); }

    // Changes all seven values away from the ones of the shown dialog.
    static void ChangeEverything(TConfigForm& form) {
        ChooseEntry(form.ComboBox1, form.ComboBox1->currentIndex() == 0 ? 1 : 0);
        ChooseEntry(form.ComboBox2, form.ComboBox2->currentIndex() == 0 ? 1 : 0);
        form.Edit1->selectAll();
        TypeText(form.Edit1, QStringLiteral("srv/мир/"));
        for (QCheckBox* box : {form.CheckBox1, form.CheckBox2, form.CheckBox3, form.CheckBox4})
            Click(box);
    }

private slots:
    void cleanup() { QFile::remove(QString::fromStdString(IniPath())); }

    void valuesFromTheFileShowInTheControls_data() {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<int>("coding");
        QTest::addColumn<int>("crlf");
        QTest::addColumn<QString>("path");
        QTest::addColumn<TChecks>("checks");
        QTest::newRow("all nine keys")
            << QStringLiteral("[SaveMUD]\r\nCoding=1\r\nCRLF=0\r\nPath=../сервер/world/\r\n"
                              "[Editor]\r\nStatus=TRUE\r\nConfirm=true\r\nTools=False\r\n"
                              "Position=True\r\n[Position]\r\nMainX=40\r\nMainY=30\r\n")
            << 1 << 0 << QStringLiteral("../сервер/world/") << TChecks{true, true, false, true};
        QTest::newRow("other truths are false")
            << QStringLiteral("[SaveMUD]\r\nCoding=0\r\nCRLF=1\r\nPath=\r\n[Editor]\r\nStatus=1\r\n"
                              "Confirm=yes\r\nTools=\r\nPosition=False\r\n")
            << 0 << 1 << QString() << TChecks{false, false, false, false};
        QTest::newRow("no file") << QString() << -1 << -1 << QStringLiteral("LIB/world/")
                                 << TChecks{false, false, false, false};
        QTest::newRow("numbers outside the lists or not numbers")
            << QStringLiteral("[SaveMUD]\r\nCoding=2\r\nCRLF=x\r\n[Editor]\r\nTools=True\r\n") << -1
            << -1 << QStringLiteral("LIB/world/") << TChecks{false, false, true, false};
    }
    void valuesFromTheFileShowInTheControls() {
        QFETCH(QString, ini);
        if (!ini.isNull())
            WriteIni(ini);
        TConfigForm form;
        Load(form);
        QTEST(form.ComboBox1->currentIndex(), "coding");
        QTEST(form.ComboBox2->currentIndex(), "crlf");
        QTEST(form.Edit1->text(), "path");
        QTEST(ChecksOf(form), "checks");
    }

    void startsWithTheInitialValues() {
        TConfigForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Настройки"));
        QCOMPARE(form.ComboBox1->currentIndex(), -1);
        QCOMPARE(form.ComboBox1->itemText(0), QStringLiteral("КОИ-8 (UNIX)"));
        QCOMPARE(form.ComboBox2->itemText(1), QStringLiteral("CRLF (Windows)"));
        QVERIFY(!form.ComboBox1->isEditable());
        QCOMPARE(form.Edit1->text(), QStringLiteral("LIB/world/"));
        QCOMPARE(ChecksOf(form), (TChecks{false, false, false, false}));
        for (const char* name : {"ComboBox1", "ComboBox2", "Edit1", "CheckBox1", "CheckBox2",
                                 "CheckBox3", "CheckBox4", "GetBtn", "OkBtn", "CancelBtn"})
            QVERIFY2(form.findChild<QWidget*>(QLatin1String(name)), name);
        QCOMPARE(form.OkBtn->text(), QStringLiteral("&Ok"));
        QCOMPARE(form.CancelBtn->text(), QStringLiteral("&Cancel"));
    }

    void cancelRestoresWhatTheDialogShowed() {
        WriteIni(
            QStringLiteral("[SaveMUD]\r\nCoding=0\r\nCRLF=1\r\nPath=LIB/world/\r\n[Editor]\r\n"
                           "Status=True\r\nConfirm=False\r\nTools=True\r\nPosition=False\r\n"));
        TConfigForm form;
        Load(form);
        const TSettings before = form.settings();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        ChangeEverything(form);
        const TSettings changed = form.settings();
        QCOMPARE(changed.Coding, 1);
        QCOMPARE(changed.Crlf, 0);
        QCOMPARE(FromCp1251(changed.Path), QStringLiteral("srv/мир/"));
        QVERIFY(changed.Position); // CheckBox4 too
        QVERIFY(!changed.Status);

        Click(form.CancelBtn);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QCOMPARE(form.settings(), before);
    }

    void escapeIsCancel() {
        TConfigForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Click(form.CheckBox4);
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(!form.isVisible());
        QVERIFY(!form.CheckBox4->isChecked());
    }

    void okKeepsAndTheNextShowTakesANewSnapshot() {
        TConfigForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        ChangeEverything(form);
        const TSettings kept = form.settings();
        Click(form.OkBtn);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.settings(), kept);

        // Shown again: Cancel goes back to what Ok kept, not to the first values.
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        ChangeEverything(form);
        Click(form.CancelBtn);
        QCOMPARE(form.settings(), kept);
    }

    void fromEditorCopiesThreeStatesAndLeavesThePosition() {
        TConfigForm form;
        QVERIFY(!form.GetBtn->isEnabled()); // no editor to ask yet
        int asked = 0;
        TEditorStates editor{true, false, true};
        form.setEditorStateSource([&] {
            ++asked;
            return editor;
        });
        form.CheckBox2->setChecked(true);
        form.CheckBox4->setChecked(true);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Click(form.GetBtn);
        QCOMPARE(asked, 1);
        QCOMPARE(ChecksOf(form), (TChecks{true, false, true, true}));
        // The tools window hidden through the menu: the box follows, the position stays.
        editor.Tools = false;
        Click(form.GetBtn);
        QCOMPARE(ChecksOf(form), (TChecks{true, false, false, true}));
        QVERIFY(form.isVisible()); // the button does not close the dialog
    }

    void settingsAreWrittenBackInPlace() {
        WriteIni(QStringLiteral("; настройки\r\n[Editor]\r\nStatus=False\r\nConfirm=True\r\n"
                                "Tools=False\r\nPosition=False\r\nFont=Arial\r\n\r\n"
                                "[SaveMUD]\r\nCoding=0\r\nCRLF=0\r\nPath=LIB/world/\r\n"));
        TConfigForm form;
        Load(form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        ChangeEverything(form);
        Click(form.OkBtn);

        TSettings settings = form.settings();
        settings.MainX = 120;
        settings.MainY = -4;
        TProfileFile file(IniPath());
        WriteSettings(file, settings);
        QVERIFY(file.Save());
        QCOMPARE(FromCp1251(ReadIni()),
                 QStringLiteral("; настройки\r\n[Editor]\r\nStatus=True\r\nConfirm=False\r\n"
                                "Tools=True\r\nPosition=True\r\nFont=Arial\r\n\r\n"
                                "[SaveMUD]\r\nCoding=1\r\nCRLF=1\r\nPath=srv/мир/\r\n\r\n"
                                "[Position]\r\nMainX=120\r\nMainY=-4\r\n"));

        // And read back at the next start.
        TConfigForm next;
        Load(next);
        QCOMPARE(next.settings(), form.settings());
    }

    void pathTakesOnlyWhatTheSettingsFileCanHold() {
        TConfigForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.Edit1->selectAll();
        TypeText(form.Edit1, QStringLiteral("мир/"));
        TypeText(form.Edit1, QStringLiteral("世界"));
        QCOMPARE(form.Edit1->text(), QStringLiteral("мир/"));
        QCOMPARE(form.settings().Path, ToCp1251(QStringLiteral("мир/")));
        QCOMPARE(form.Edit1->maxLength(), int(kProfileValueLimit));
    }

    // The folder chooser beside the path: a folder below the program folder
    // stays relative to it, any other is kept absolute; Cancel changes nothing.
    void exportFolderIsChosenInTheFolderDialog() {
        TFakePrompts prompts("/velmora-test-program/");
        TConfigForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.Edit1->setText(QStringLiteral("LIB/world/"));
        prompts.ExpectFolder(QStringLiteral("/velmora-test-program/server/world"));
        Click(form.ExportPathBtn);
        QCOMPARE(prompts.Calls().back().Folder, QStringLiteral("/velmora-test-program/LIB/world/"));
        QCOMPARE(form.Edit1->text(), QStringLiteral("server/world/"));
        prompts.ExpectFolder(QStringLiteral("/srv/mud/lib/world/"));
        Click(form.ExportPathBtn);
        QCOMPARE(form.Edit1->text(), QStringLiteral("/srv/mud/lib/world/"));
        prompts.ExpectFolder(QString());
        Click(form.ExportPathBtn);
        QCOMPARE(prompts.Calls().back().Folder, QStringLiteral("/srv/mud/lib/world/"));
        QCOMPARE(form.Edit1->text(), QStringLiteral("/srv/mud/lib/world/"));
        QVERIFY(prompts.ScriptDone());
    }

    // Fixed size, every control fully inside the dialog and at least as large
    // as it asks to be, and no two controls on top of each other.
    void layoutFitsItsText() {
        TConfigForm form;
        TSettings settings;
        settings.Coding = 0;
        settings.Crlf = 1;
        settings.Tools = true;
        form.loadSettings(settings);
        form.setEditorStateSource([] { return TEditorStates{}; });
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        const QList<QWidget*> controls{form.HeadingLabel, form.ComboBox1, form.ComboBox2,
                                       form.Edit1,        form.CheckBox1, form.CheckBox2,
                                       form.CheckBox3,    form.CheckBox4, form.GetBtn,
                                       form.OkBtn,        form.CancelBtn};
        for (QWidget* w : controls) {
            const QByteArray name = w->objectName().toUtf8();
            QVERIFY2(form.rect().contains(w->geometry()), name.constData());
            QVERIFY2(w->width() >= w->sizeHint().width(), name.constData());
            QVERIFY2(w->height() >= w->minimumSizeHint().height(), name.constData());
        }
        for (qsizetype i = 0; i < controls.size(); ++i)
            for (qsizetype j = i + 1; j < controls.size(); ++j)
                QVERIFY2(!controls[i]->geometry().intersects(controls[j]->geometry()),
                         (controls[i]->objectName() + QLatin1Char(' ') + controls[j]->objectName())
                             .toUtf8()
                             .constData());
        QVERIFY(SaveShot(form, QStringLiteral("configform.png")));
    }
};

QTEST_MAIN(ConfigFormTest)
#include "configform_test.moc"
