#include "trigpage.h"

#include "worlddocument.h"

#include "descform.h"
#include "editorcontext.h"
#include "modeltext.h"
#include "pagesupport.h"
#include "prompts.h"
#include "recordpage.h"
#include "scripteditor.h"
#include "strutils.h"
#include "textcodec.h"
#include "vocabulary.h"
#include "vocabularyfill.h"
#include "world.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace {

constexpr int kTypeListWidth = 25;
constexpr int kClassListWidth = 25;

template <class W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

const QString& NoTriggerMessage() {
    static const QString text = QStringLiteral("Сначала создайте новый триггер");
    return text;
}

} // namespace

QString StorableScript(const QString& script, int* changed) {
    QStringList lines = script.split(QLatin1Char('\n'));
    int amended = 0;
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('~'))) {
            line += QLatin1Char(' ');
            ++amended;
        }
    if (changed)
        *changed = amended;
    return lines.join(QStringLiteral("\r\n"));
}

TTrigPage::TTrigPage(TEditorContext& main, TRecordPage& records)
    : QWidget(records.Body), main_(main), records_(records) {
    setObjectName(QStringLiteral("TrigPage"));
    BuildControls();
    ConnectEdits();
    // The names shared across the workspace are gathered from every trigger:
    // once, and again only after the world has changed, not for each trigger shown.
    const auto stale = [this] { sharedVariablesStale_ = true; };
    connect(main_.Document, &TWorldDocument::changed, this, stale);
    connect(main_.Document, &TWorldDocument::cleared, this, stale);
    connect(main_.Document, &TWorldDocument::loaded, this, stale);
}

void TTrigPage::BuildControls() {
    T_NameEdit = Named(new QLineEdit(this), "T_NameEdit");
    T_ClassComboBox = Named(new QComboBox(this), "T_ClassComboBox");
    T_TypeStack = Named(new QStackedWidget(this), "T_TypeStack");
    T_TypeMobCheckListBox = Named(new QListWidget(T_TypeStack), "T_TypeMobCheckListBox");
    T_TypeObjCheckListBox = Named(new QListWidget(T_TypeStack), "T_TypeObjCheckListBox");
    T_TypeRoomCheckListBox = Named(new QListWidget(T_TypeStack), "T_TypeRoomCheckListBox");
    for (QListWidget* list : {T_TypeMobCheckListBox, T_TypeObjCheckListBox, T_TypeRoomCheckListBox})
        T_TypeStack->addWidget(list);
    T_NumArgEdit = Named(new QSpinBox(this), "T_NumArgEdit");
    T_NumArgEdit->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    T_ArgEdit = Named(new QLineEdit(this), "T_ArgEdit");
    T_TextMemo = Named(new TScriptEditor(this), "T_TextMemo");
    T_TextMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    T_TextMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    T_TextMemo->SetChecker(
        [this](const std::vector<std::string>& lines) { return CheckShownScript(lines); });

    auto* fields = new QFormLayout;
    const auto addRow = [this, fields](const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        fields->addRow(label, field);
    };
    addRow(QStringLiteral("&Название"), T_NameEdit);
    addRow(QStringLiteral("&Класс триггера"), T_ClassComboBox);
    addRow(QStringLiteral("&Числовой аргумент"), T_NumArgEdit);
    addRow(QStringLiteral("&Аргумент"), T_ArgEdit);

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    auto* typeLabel = new QLabel(QStringLiteral("&Тип триггера"), this);
    typeLabel->setBuddy(T_TypeStack);
    left->addWidget(typeLabel);
    left->addWidget(T_TypeStack, 1);

    auto* right = new QVBoxLayout;
    auto* textLabel = new QLabel(QStringLiteral("Т&екст триггера"), this);
    textLabel->setBuddy(T_TextMemo);
    right->addWidget(textLabel);
    right->addWidget(T_TextMemo, 1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // Halves: the type list's padded columns need the width at the usual size.
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);
}

void TTrigPage::ConnectEdits() {
    connect(T_NameEdit, &QLineEdit::textEdited, this, &TTrigPage::NameEditChange);
    connect(T_ClassComboBox, &QComboBox::activated, this, &TTrigPage::ClassComboBoxChange);
    connect(T_NumArgEdit, &QSpinBox::valueChanged, this, &TTrigPage::Change);
    connect(T_ArgEdit, &QLineEdit::textChanged, this, &TTrigPage::Change);
    connect(T_TextMemo, &QPlainTextEdit::textChanged, this, &TTrigPage::Change);
    for (QListWidget* list : {T_TypeMobCheckListBox, T_TypeObjCheckListBox, T_TypeRoomCheckListBox})
        connect(list, &QListWidget::itemChanged, this, [this] {
            Change();
            if (!showing_)
                T_TextMemo->CheckNow();
        });
}

void TTrigPage::LoadLists(const std::string& programFolder) {
    LoadListReporting(
        [&] { FillCodeCombo(programFolder, "Trigger_Type", T_ClassComboBox, kClassListWidth, 0); });
    LoadListReporting([&] {
        FillFlagList(programFolder, "Trigger_BitVector_MOB", T_TypeMobCheckListBox, kTypeListWidth);
    });
    LoadListReporting([&] {
        FillFlagList(programFolder, "Trigger_BitVector_OBJ", T_TypeObjCheckListBox, kTypeListWidth);
    });
    LoadListReporting([&] {
        FillFlagList(programFolder, "Trigger_BitVector_WLD", T_TypeRoomCheckListBox,
                     kTypeListWidth);
    });
    ShowClassList();
}

QListWidget* TTrigPage::TypeList(int position) const {
    switch (position) {
    case 0:
        return T_TypeMobCheckListBox;
    case 1:
        return T_TypeObjCheckListBox;
    case 2:
        return T_TypeRoomCheckListBox;
    default:
        return nullptr;
    }
}

QListWidget* TTrigPage::FrontTypeList() const {
    return qobject_cast<QListWidget*>(T_TypeStack->currentWidget());
}

void TTrigPage::ShowOnPage(const TTrigger& trigger) {
    showing_ = true;
    T_NameEdit->setText(FromCp1251(trigger.Name));
    ShowCode(T_ClassComboBox, trigger.Model);
    ShowClassList();
    // The lists of the other classes are emptied rather than left showing the
    // previous trigger's types, which a class switch would otherwise store
    // into this one.
    for (int position = 0; position < 3; ++position)
        FlagsToChecks(position == trigger.Model ? trigger.Flags.View() : std::string_view(),
                      TypeList(position));
    T_NumArgEdit->setValue(trigger.NumParam);
    T_ArgEdit->setText(FromCp1251(trigger.StrParam));
    std::string script;
    for (const std::string& entry : trigger.Text)
        script += entry + "\r\n";
    T_TextMemo->setPlainText(FromCp1251(StripLineEnds(script)));
    showing_ = false;
    if (sharedVariablesStale_) {
        sharedVariables_ = ScriptSharedVariables(main_.World().View());
        sharedVariablesStale_ = false;
    }
    ShowScriptLanguage();
}

void TTrigPage::ReadFromPage(TTrigger& trigger) {
    trigger.Name = ToModelText(T_NameEdit->text());
    const int previousModel = trigger.Model;
    // A class the list does not name shows as its number and stays as it was.
    const int model = ReadCode(T_ClassComboBox, previousModel);
    if (std::in_range<int16_t>(model))
        trigger.Model = static_cast<int16_t>(model);
    if (QListWidget* list = TypeList(trigger.Model))
        trigger.Flags = ChecksToFlagsKeeping(
            list, trigger.Model == previousModel ? trigger.Flags.View() : std::string_view());
    trigger.NumParam = T_NumArgEdit->value();
    trigger.StrParam = ToModelText(T_ArgEdit->text());

    int amended = 0;
    const QString script = StorableScript(MemoText(T_TextMemo), &amended);
    if (amended > 0)
        Prompts().Information(
            QStringLiteral("Строка текста триггера не может оканчиваться знаком «~»: в файле "
                           "триггеров он завершает текст. В конец таких строк (%1 шт.) "
                           "добавлен пробел.")
                .arg(amended));
    trigger.Text = {StripLineEnds(ToModelText(script))};
}

void TTrigPage::ShowClassList() {
    const int position = T_ClassComboBox->currentIndex();
    T_TypeStack->setCurrentIndex(position >= 0 && position < 3 ? position : 0);
}

namespace {

// The attach kind of a class position; none for a class the list does not
// name, whose script is then neither coloured by commands nor checked.
std::optional<TAttachKind> AttachKindAt(int position) {
    if (position < 0 || position > 2)
        return std::nullopt;
    return static_cast<TAttachKind>(position);
}

} // namespace

void TTrigPage::ShowScriptLanguage() {
    QStringList commands;
    QStringList variables;
    const auto kind = AttachKindAt(ReadCode(T_ClassComboBox, -1));
    if (main_.ScriptLanguage && kind) {
        for (const std::string& command : main_.ScriptLanguage->Commands(*kind))
            commands << FromCp1251(command);
        for (const std::string& variable : main_.ScriptLanguage->Variables(*kind))
            variables << FromCp1251(variable);
    }
    T_TextMemo->SetLanguage(commands, variables);
    T_TextMemo->CheckNow();
}

std::vector<TScriptProblem>
TTrigPage::CheckShownScript(const std::vector<std::string>& lines) const {
    const auto kind = AttachKindAt(ReadCode(T_ClassComboBox, -1));
    if (!kind || !records_.HasSelection())
        return {};
    const TWorldView world = main_.World().View();
    const TScriptContext context{&world, main_.ScriptLanguage.get(), &sharedVariables_};
    return CheckScript(lines, *kind, ChecksToFlags(FrontTypeList()), context);
}

void TTrigPage::ClassComboBoxChange() {
    if (!records_.HasSelection()) {
        Prompts().Information(NoTriggerMessage());
        return;
    }
    ShowClassList();
    ShowScriptLanguage();
    main_.SetChanged(true);
}

void TTrigPage::NameEditChange() {
    if (!records_.HasSelection()) {
        Prompts().Information(NoTriggerMessage());
        return;
    }
    records_.Change();
    QComboBox* ids = records_.IDComboBox;
    ids->setItemText(ids->currentIndex(), QString::number(ids->currentData().toInt()) +
                                              QStringLiteral("  ") + T_NameEdit->text());
}

void TTrigPage::Change() {
    if (!showing_)
        records_.Change();
}

void AttachTrigPage(TEditorContext& main) {
    TRecordPage& records = *main.RecordPage(TrigPageIndex);
    auto* page = new TTrigPage(main, records);
    auto* layout = new QVBoxLayout(records.Body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);
    page->LoadLists(main.ProgramFolder);

    records.ShowRecord = [&records, page, show = ShowFrom(page, main.World().Triggers)](std::optional<int32_t> vnum) {
        const TTrigger* trigger = show(vnum);
        if (trigger)
            records.ShowEntryText(*vnum, FromCp1251(TTriggerList::EntryOf(*trigger).Text));
    };
    records.StoreRecord = StoreInto(*main.Document, page, main.World().Triggers);
}
