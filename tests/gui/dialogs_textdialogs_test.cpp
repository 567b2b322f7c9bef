// The effect, extra description and long-text dialogs of the object and mob
// pages, driven modally as the pages show them.

#include "addescform.h"
#include "descform.h"
#include "effectform.h"
#include "fakeprompts.h"
#include "guisupport.h"
#include "obj.h"
#include "textcodec.h"
#include "vocabularyfill.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <functional>

using namespace guitest;

namespace {

const std::string kProgramFolder = VELMORA_PROGRAM_DIR "/";

TStringList Cp1251Lines(const QStringList& lines) {
    TStringList out;
    for (const QString& line : lines)
        out.push_back(ToCp1251(line));
    return out;
}

const QString kTildeError = QStringLiteral("Строка %1 описания заканчивается знаком \"~\": в файле "
                                           "мира этот знак закрывает описание.\r\n"
                                           "Уберите \"~\" в конце строки.");

QString LostInformation(int count) {
    return QStringLiteral("Знаков, которых нет в кодировке Windows-1251: %1.\r\n"
                          "Они будут сохранены как \"?\".")
        .arg(count);
}

} // namespace

class TextDialogsTest : public QObject {
    Q_OBJECT

private slots:
    // ---- effect dialog -------------------------------------------------

    void effectListIsTheBonusVocabulary() {
        TEffectForm form;
        form.LoadLists(kProgramFolder);
        QVERIFY(form.ComboBox->count() > 10);
        QCOMPARE(form.ComboBox->currentIndex(), 0);
        QCOMPARE(form.Location(), 0);
        QCOMPARE(form.ComboBox->itemData(1, kCodeRole).toInt(), 1);
        QVERIFY(form.ComboBox->itemText(1).startsWith(QStringLiteral("Сила")));
        QCOMPARE(form.windowTitle(), QStringLiteral("Эффекты"));
    }

    void effectAcceptsZeroAndNegativeModifiers_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("modifier");
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("negative") << "-5" << -5;
        QTest::newRow("lowest") << "-32768" << -32768;
        QTest::newRow("highest") << "32767" << 32767;
    }
    void effectAcceptsZeroAndNegativeModifiers() {
        QFETCH(QString, typed);
        QFETCH(int, modifier);
        TEffectForm form;
        form.LoadLists(kProgramFolder);
        form.SetEffect(0, 7);
        RunModal(form, [&] {
            QCOMPARE(form.focusWidget(), form.ComboBox);
            form.ComboBox->setCurrentIndex(form.ComboBox->findData(2, kCodeRole));
            form.SpinEdit->selectAll();
            QTest::keyClicks(form.SpinEdit, typed);
            Click(form.OkBtn);
        });
        QVERIFY(form.Accepted());
        QCOMPARE(form.Location(), 2);
        QVERIFY(form.LocationText().startsWith(QStringLiteral("Ловкость")));
        QCOMPARE(form.Modifier(), modifier);
        QCOMPARE(AddParamLocation(form.AddParam()), 2);
        QCOMPARE(AddParamModifier(form.AddParam()), modifier);
    }

    void effectModifierStaysWithinWhatTheObjectKeeps() {
        TEffectForm form;
        // The object stores 16 signed bits: 40000 would come back as -25536.
        form.SetEffect(0, 40000);
        QCOMPARE(form.Modifier(), 32767);
        form.SetEffect(0, -40000);
        QCOMPARE(form.Modifier(), -32768);
    }

    void effectPresetFromAnObjectsEntry() {
        TEffectForm form;
        form.LoadLists(kProgramFolder);
        form.SetAddParam(PackAddParam(13, -20));
        QCOMPARE(form.Location(), 13);
        QCOMPARE(form.SpinEdit->value(), -20);
        QCOMPARE(form.AddParam(), PackAddParam(13, -20));
        SaveShot(form, QStringLiteral("effectform.png"));
    }

    // A location the list does not name is shown as its number and kept,
    // unless the builder picks another.
    void effectWithALocationTheListLacksKeepsIt() {
        TEffectForm form;
        form.LoadLists(kProgramFolder);
        form.SetEffect(30000, 3);
        QCOMPARE(form.Location(), 30000);
        QCOMPARE(form.LocationText(), QStringLiteral("30000 (нет в списке)"));
        RunModal(form, [&] { Click(form.OkBtn); });
        QVERIFY(form.Accepted());
        QCOMPARE(form.Location(), 30000);
        QCOMPARE(form.Modifier(), 3);
    }

    void effectMissingListIsReported() {
        TEffectForm form;
        QVERIFY_THROWS_EXCEPTION(TVocabularyError, form.LoadLists("/no/such/program/"));
        QCOMPARE(form.ComboBox->count(), 0);
    }

    // ---- every dialog: the accepted flag -------------------------------

    void closeBoxAfterAnAcceptedUseReportsNotAccepted() {
        TEffectForm effect;
        effect.LoadLists(kProgramFolder);
        TAddDescForm addDesc;
        TDescForm desc;
        struct TCase {
            QDialog* Dialog;
            QPushButton* Ok;
            std::function<bool()> Accepted;
        };
        const TCase cases[] = {
            {&effect, effect.OkBtn, [&] { return effect.Accepted(); }},
            {&addDesc, addDesc.OkBtn, [&] { return addDesc.Accepted(); }},
            {&desc, desc.OkBtn, [&] { return desc.Accepted(); }},
        };
        for (const TCase& c : cases) {
            RunModal(*c.Dialog, [&] { Click(c.Ok); });
            QVERIFY2(c.Accepted(), qPrintable(c.Dialog->objectName()));
            RunModal(*c.Dialog, [&] {
                QVERIFY(!c.Accepted()); // cleared as soon as the dialog is shown
                QVERIFY(c.Dialog->close());
            });
            QVERIFY2(!c.Accepted(), qPrintable(c.Dialog->objectName()));
            RunModal(*c.Dialog, [&] { QTest::keyClick(c.Dialog, Qt::Key_Escape); });
            QVERIFY2(!c.Accepted(), qPrintable(c.Dialog->objectName()));
        }
        RunModal(effect, [&] { Click(effect.CancelBtn); });
        QVERIFY(!effect.Accepted());
        RunModal(addDesc, [&] { Click(addDesc.CancelBtn); });
        QVERIFY(!addDesc.Accepted());
        RunModal(desc, [&] { Click(desc.CancelBtn); });
        QVERIFY(!desc.Accepted());
    }

    // ---- long-text dialog ----------------------------------------------

    void descLinesComeBackAsTheyWereGiven() {
        TDescForm form;
        // Blank lines inside and at the end belong to the text.
        const TStringList lines =
            Cp1251Lines({QStringLiteral("Высокий стражник в кольчуге."), QString(),
                         QStringLiteral("  Он смотрит на вас."), QString()});
        form.SetLines(lines);
        RunModal(form, [&] {
            QCOMPARE(form.focusWidget(), form.DescMemo);
            Click(form.OkBtn);
        });
        QVERIFY(form.Accepted());
        QCOMPARE(form.Lines(), lines);
        form.SetLines({});
        QCOMPARE(form.Lines(), TStringList());
        QVERIFY(form.DescMemo->toPlainText().isEmpty());
    }

    void descTypedTextWithEnterStaysOpen() {
        TDescForm form;
        form.SetLines(Cp1251Lines({QStringLiteral("старое")}));
        RunModal(form, [&] {
            form.DescMemo->selectAll();
            TypeLines(form.DescMemo, QStringLiteral("Первая\nвторая"));
            QVERIFY(form.isVisible()); // Enter made a new line, it did not close
            SaveShot(form, QStringLiteral("descform.png"));
            Click(form.OkBtn);
        });
        QVERIFY(form.Accepted());
        QCOMPARE(form.Lines(), Cp1251Lines({QStringLiteral("Первая"), QStringLiteral("вторая")}));
    }

    void descClearThenOkGivesAnEmptyText() {
        TDescForm form;
        form.SetLines(Cp1251Lines({QStringLiteral("раз"), QStringLiteral("два")}));
        RunModal(form, [&] {
            Click(form.ClearBtn);
            QVERIFY(form.isVisible());
            QVERIFY(form.DescMemo->toPlainText().isEmpty());
            Click(form.OkBtn);
        });
        QVERIFY(form.Accepted());
        QVERIFY(form.Lines().empty());
    }

    void descLineEndingInTildeIsRefused() {
        TDescForm form;
        form.SetLines(Cp1251Lines({QStringLiteral("начало"), QStringLiteral("и конец~")}));
        TFakePrompts prompts;
        prompts.ExpectError(kTildeError.arg(2));
        RunModal(form, [&] {
            Click(form.OkBtn);
            QVERIFY(form.isVisible());
            QVERIFY(!form.Accepted());
            // A tilde inside a line closes nothing.
            form.DescMemo->setPlainText(QStringLiteral("начало\nи ~ конец"));
            Click(form.OkBtn);
        });
        QVERIFY(prompts.ScriptDone());
        QVERIFY(form.Accepted());
        QCOMPARE(form.Lines(),
                 Cp1251Lines({QStringLiteral("начало"), QStringLiteral("и ~ конец")}));
    }

    void descCharacterWindows1251LacksIsReported() {
        TDescForm form;
        TFakePrompts prompts;
        prompts.ExpectInformation(LostInformation(2));
        RunModal(form, [&] {
            TypeText(form.DescMemo, QStringLiteral("Руна \u16A0 и \u2603"));
            Click(form.OkBtn);
        });
        QVERIFY(prompts.ScriptDone());
        QVERIFY(form.Accepted());
        QCOMPARE(form.Lines(), Cp1251Lines({QStringLiteral("Руна ? и ?")}));
    }

    // ---- extra description dialog --------------------------------------

    void extraDescPresetAndReadBack() {
        TAddDescForm form;
        TExtraDesc desc;
        desc.Keywords = ToCp1251(QStringLiteral("меч меча мечу"));
        desc.Description = Cp1251Lines(
            {QStringLiteral("Острый клинок."), QString(), QStringLiteral("На рукояти руны.")});
        form.SetExtraDesc(desc);
        RunModal(form, [&] {
            QCOMPARE(form.focusWidget(), form.Edit1);
            QCOMPARE(form.Edit1->text(), QStringLiteral("меч меча мечу"));
            SaveShot(form, QStringLiteral("addescform.png"));
            Click(form.OkBtn);
        });
        QVERIFY(form.Accepted());
        QCOMPARE(form.ExtraDesc(), desc);
    }

    void extraDescNewOneIsTypedIn() {
        TAddDescForm form;
        form.SetExtraDesc(TExtraDesc());
        RunModal(form, [&] {
            QVERIFY(form.Edit1->text().isEmpty());
            QVERIFY(form.Memo1->toPlainText().isEmpty());
            TypeText(form.Edit1, QStringLiteral("кольцо кольца~"));
            TypeLines(form.Memo1, QStringLiteral("Тонкое кольцо.\nХолодное."));
            QVERIFY(form.isVisible());
            Click(form.OkBtn);
        });
        QVERIFY(form.Accepted());
        const TExtraDesc desc = form.ExtraDesc();
        // The keyword line is closed by its last character, so a "~" there is safe.
        QCOMPARE(desc.Keywords, ToCp1251(QStringLiteral("кольцо кольца~")));
        QCOMPARE(desc.Description,
                 Cp1251Lines({QStringLiteral("Тонкое кольцо."), QStringLiteral("Холодное.")}));
    }

    void extraDescTextLineEndingInTildeIsRefused() {
        TAddDescForm form;
        TExtraDesc desc;
        desc.Keywords = "ring";
        desc.Description = {"~", "rest"};
        form.SetExtraDesc(desc);
        TFakePrompts prompts;
        prompts.ExpectError(kTildeError.arg(1));
        RunModal(form, [&] {
            Click(form.OkBtn);
            QVERIFY(form.isVisible());
        });
        QVERIFY(prompts.ScriptDone());
        QVERIFY(!form.Accepted());
    }

    void extraDescCountsLostCharactersOfBothFields() {
        TAddDescForm form;
        TFakePrompts prompts;
        prompts.ExpectInformation(LostInformation(3));
        RunModal(form, [&] {
            TypeText(form.Edit1, QStringLiteral("\u2603 снеговик"));
            TypeText(form.Memo1, QStringLiteral("\u2603\u2603"));
            Click(form.OkBtn);
        });
        QVERIFY(form.Accepted());
        QCOMPARE(form.ExtraDesc().Keywords, ToCp1251(QStringLiteral("? снеговик")));
        QCOMPARE(form.ExtraDesc().Description, TStringList{"??"});
    }
};

QTEST_MAIN(TextDialogsTest)
#include "dialogs_textdialogs_test.moc"
