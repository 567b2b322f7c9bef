#include "configform.h"

#include "dialogparts.h"
#include "modeltext.h"
#include "prompts.h"
#include "textcodec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QValidator>

namespace {

// The path is stored in the settings file as Windows-1251 text: refuse what
// that code page cannot hold rather than write it as question marks.
class TCp1251Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        int lost = 0;
        ToCp1251(input, &lost);
        return lost == 0 ? Acceptable : Invalid;
    }
};

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

} // namespace

void TConfigForm::ChooseExportFolder() {
    const QString program = PathText(Prompts().ProgramFolder());
    const QString path = Edit1->text();
    QString chosen = Prompts().ChooseFolder(QStringLiteral("Папка мира сервера"),
                                            QDir::isAbsolutePath(path) ? path : program + path);
    if (chosen.isEmpty())
        return;
    if (!chosen.endsWith(QLatin1Char('/')))
        chosen += QLatin1Char('/');
    int lost = 0;
    ToCp1251(chosen, &lost);
    if (lost > 0) {
        Prompts().Error(QStringLiteral("В пути %1 есть знаки, которых нет в кодировке 1251: файл "
                                       "настроек не сохранит его. Выберите другую папку.")
                            .arg(chosen));
        return;
    }
    // Below the program folder the path stays relative: it moves with the program.
    if (chosen.startsWith(program))
        chosen = chosen.mid(program.size());
    Edit1->setText(chosen);
}

TConfigForm::TConfigForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ConfigForm"));
    setWindowTitle(QStringLiteral("Настройки"));

    HeadingLabel = new QLabel(QStringLiteral("Сохранение зоны для MUDа"), this);
    HeadingLabel->setObjectName(QStringLiteral("HeadingLabel"));
    QFont bold = HeadingLabel->font();
    bold.setBold(true);
    HeadingLabel->setFont(bold);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({QStringLiteral("КОИ-8 (UNIX)"), QStringLiteral("1251 (Windows)")});
    ComboBox1->setCurrentIndex(-1);

    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->addItems({QStringLiteral("LF (UNIX)"), QStringLiteral("CRLF (Windows)")});
    ComboBox2->setCurrentIndex(-1);

    Edit1 = new QLineEdit(QStringLiteral("LIB/world/"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    // The settings file gives back at most this many characters of a value.
    Edit1->setMaxLength(static_cast<int>(kProfileValueLimit));
    Edit1->setValidator(new TCp1251Validator(Edit1));
    Edit1->setMinimumWidth(Edit1->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 18);

    auto* exportForm = new QFormLayout;
    exportForm->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    exportForm->addRow(QStringLiteral("Кодировка"), ComboBox1);
    exportForm->addRow(QStringLiteral("Окончание строки"), ComboBox2);
    ExportPathBtn = MakeButton(this, "ExportPathBtn", QStringLiteral("Выбрать..."));
    connect(ExportPathBtn, &QPushButton::clicked, this, &TConfigForm::ChooseExportFolder);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(Edit1, 1);
    pathRow->addWidget(ExportPathBtn);
    exportForm->addRow(QStringLiteral("Папка мира сервера"), pathRow);

    CheckBox1 = MakeCheckBox(this, "CheckBox1", QStringLiteral("Показывать строку статуса"));
    CheckBox2 = MakeCheckBox(this, "CheckBox2", QStringLiteral("Подтверждение изменений"));
    CheckBox3 = MakeCheckBox(this, "CheckBox3", QStringLiteral("Показывать окно с инструментами"));
    CheckBox4 = MakeCheckBox(this, "CheckBox4", QStringLiteral("Сохранять позицию окна редактора"));

    RecoveryEdit = new QSpinBox(this);
    RecoveryEdit->setObjectName(QStringLiteral("RecoveryEdit"));
    RecoveryEdit->setRange(1, 60);
    RecoveryEdit->setValue(TSettings{}.RecoveryMinutes);
    auto* recoveryForm = new QFormLayout;
    recoveryForm->addRow(QStringLiteral("Копия несохранённых зон, минут"), RecoveryEdit);

    GetBtn = MakeButton(this, "GetBtn", QStringLiteral("Из редактора"));
    GetBtn->setEnabled(false);
    OkBtn = MakeDefaultButton(this, "OkBtn", QStringLiteral("&Ok"));
    CancelBtn = MakeButton(this, "CancelBtn", QStringLiteral("&Cancel"));

    // "Из редактора" stands apart, at the left.
    QHBoxLayout* buttons = ButtonRow({OkBtn, CancelBtn});
    buttons->insertWidget(0, GetBtn);

    auto* column = new QVBoxLayout(this);
    column->addWidget(HeadingLabel);
    column->addLayout(exportForm);
    column->addSpacing(HeadingLabel->fontMetrics().height() / 2);
    column->addWidget(CheckBox1);
    column->addWidget(CheckBox2);
    column->addWidget(CheckBox3);
    column->addWidget(CheckBox4);
    column->addLayout(recoveryForm);
    column->addSpacing(HeadingLabel->fontMetrics().height() / 2);
    column->addLayout(buttons);
    // Fixed size: the dialog is as large as its contents need, no larger.
    column->setSizeConstraint(QLayout::SetFixedSize);

    connect(GetBtn, &QPushButton::clicked, this, &TConfigForm::GetBtnClick);
    connect(OkBtn, &QPushButton::clicked, this, &TConfigForm::OkBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TConfigForm::CancelBtnClick);

    snapshot_ = Snapshot();
}

void TConfigForm::loadSettings(const TSettings& s) {
    // An index outside the lists selects no entry.
    ComboBox1->setCurrentIndex(s.Coding >= 0 && s.Coding < ComboBox1->count() ? s.Coding : -1);
    ComboBox2->setCurrentIndex(s.Crlf >= 0 && s.Crlf < ComboBox2->count() ? s.Crlf : -1);
    // Not through the validator: the file's text is Windows-1251 already.
    Edit1->setText(FromCp1251(s.Path));
    CheckBox1->setChecked(s.Status);
    CheckBox2->setChecked(s.Confirm);
    CheckBox3->setChecked(s.Tools);
    CheckBox4->setChecked(s.Position);
    RecoveryEdit->setValue(s.RecoveryMinutes);
}

TSettings TConfigForm::settings() const {
    TSettings s;
    s.Coding = ComboBox1->currentIndex();
    s.Crlf = ComboBox2->currentIndex();
    s.Path = ToCp1251(Edit1->text());
    s.Status = CheckBox1->isChecked();
    s.Confirm = CheckBox2->isChecked();
    s.Tools = CheckBox3->isChecked();
    s.Position = CheckBox4->isChecked();
    s.RecoveryMinutes = RecoveryEdit->value();
    return s;
}

void TConfigForm::setEditorStateSource(std::function<TEditorStates()> source) {
    editorStates_ = std::move(source);
    GetBtn->setEnabled(static_cast<bool>(editorStates_));
}

void TConfigForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Only a real show, not the window system restoring a minimised dialog.
    if (!event->spontaneous())
        FormActivate();
}

void TConfigForm::reject() {
    Restore(snapshot_);
    QDialog::reject();
}

void TConfigForm::FormActivate() {
    snapshot_ = Snapshot();
}

void TConfigForm::GetBtnClick() {
    if (!editorStates_)
        return;
    const TEditorStates states = editorStates_();
    CheckBox1->setChecked(states.Status);
    CheckBox2->setChecked(states.Confirm);
    CheckBox3->setChecked(states.Tools);
}

void TConfigForm::OkBtnClick() {
    accept();
}

void TConfigForm::CancelBtnClick() {
    reject();
}

TConfigForm::TSnapshot TConfigForm::Snapshot() const {
    TSnapshot s;
    s.Coding = ComboBox1->currentIndex();
    s.Crlf = ComboBox2->currentIndex();
    s.Path = Edit1->text();
    s.Checks[0] = CheckBox1->isChecked();
    s.Checks[1] = CheckBox2->isChecked();
    s.Checks[2] = CheckBox3->isChecked();
    s.Checks[3] = CheckBox4->isChecked();
    s.RecoveryMinutes = RecoveryEdit->value();
    return s;
}

void TConfigForm::Restore(const TSnapshot& s) {
    ComboBox1->setCurrentIndex(s.Coding);
    ComboBox2->setCurrentIndex(s.Crlf);
    Edit1->setText(s.Path);
    CheckBox1->setChecked(s.Checks[0]);
    CheckBox2->setChecked(s.Checks[1]);
    CheckBox3->setChecked(s.Checks[2]);
    CheckBox4->setChecked(s.Checks[3]);
    RecoveryEdit->setValue(s.RecoveryMinutes);
}
