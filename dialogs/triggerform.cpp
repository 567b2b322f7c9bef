#include "triggerform.h"

#include "listfilter.h"
#include "prompts.h"
#include "textcodec.h"
#include "world.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QShowEvent>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace {

// Record numbers have up to six digits.
constexpr int kLargestNumber = 999999;

// The size the builder left a picker at, shared by all of them.
QSize rememberedSize;

} // namespace

QSize TRecordPicker::RememberedSize() {
    return rememberedSize;
}

void TRecordPicker::SetRememberedSize(QSize size) {
    rememberedSize = size;
}

TRecordPicker::TRecordPicker(const QString& caption, const QString& prompt, const QString& listName,
                             const QString& editName, QWidget* parent)
    : TOkDialog(parent), prompt_(prompt) {
    setWindowTitle(caption);

    promptLabel_ = new QLabel(prompt, this);
    promptLabel_->setObjectName(QStringLiteral("PromptLabel"));

    FilterEdit = new QLineEdit(this);
    FilterEdit->setObjectName(QStringLiteral("FilterEdit"));
    filter_ = NewListFilter(FilterEdit, this);
    list_ = new QListView(this);
    list_->setObjectName(listName);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setUniformItemSizes(true);
    own_ = new QStandardItemModel(this);
    ShowModel(own_);
    const QFontMetrics metrics = list_->fontMetrics();
    list_->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('x')) * 44, metrics.height() * 14);
    promptLabel_->setBuddy(list_);

    edit_ = new QSpinBox(this);
    edit_->setObjectName(editName);
    edit_->setRange(0, kLargestNumber);
    edit_->setValue(0);

    OkBtn = MakeButton(this, "OkBtn", QStringLiteral("Выбрать"));
    AddBtn = MakeButton(this, "AddBtn", QStringLiteral("Ok"));
    AddBtn->setDefault(true);
    CancelBtn = MakeButton(this, "CancelBtn", QStringLiteral("Отмена"));

    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(edit_, 1);
    numberRow->addWidget(OkBtn);

    extras_ = new QVBoxLayout;

    auto* column = new QVBoxLayout(this);
    column->addWidget(promptLabel_);
    column->addWidget(FilterEdit);
    column->addWidget(list_, 1);
    column->addLayout(numberRow);
    column->addLayout(extras_);
    column->addSpacing(metrics.height() / 2);
    column->addLayout(ButtonRow({AddBtn, CancelBtn}));
    // The builder may make it larger: the list takes the room (thousands of
    // records), and every picker opens at the size he left the last one.

    connect(OkBtn, &QPushButton::clicked, this, &TRecordPicker::ChooseClick);
    connect(AddBtn, &QPushButton::clicked, this, &TRecordPicker::AcceptClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListView::doubleClicked, this, &TRecordPicker::ListDoubleClick);
    connect(list_, &QListView::clicked, this, &TRecordPicker::RowChosen);
    connect(list_, &QListView::activated, this, &TRecordPicker::RowChosen);
}

void TRecordPicker::ShowModel(QAbstractItemModel* model) {
    if (filter_->sourceModel() != model)
        filter_->setSourceModel(model);
    if (list_->model() != filter_)
        list_->setModel(filter_);
}

void TRecordPicker::ClearOwnEntries() {
    ShowModel(own_);
    own_->clear();
}

void TRecordPicker::PresetNumber(int32_t number) {
    // Each choice starts with the whole list.
    FilterEdit->clear();
    QAbstractItemModel* model = list_->model();
    list_->clearSelection();
    list_->setCurrentIndex({});
    const QModelIndexList found =
        model->rowCount() > 0
            ? model->match(model->index(0, 0), Qt::UserRole, number, 1, Qt::MatchExactly)
            : QModelIndexList();
    if (!found.isEmpty()) {
        list_->setCurrentIndex(found.front());
        list_->scrollTo(found.front());
    }
    edit_->setValue(number);
}

QModelIndex TRecordPicker::SelectedRow() const {
    const QModelIndex current = list_->currentIndex();
    return current.isValid() && list_->selectionModel()->isSelected(current) ? current
                                                                             : QModelIndex();
}

void TRecordPicker::RowChosen(const QModelIndex& index) {
    if (index.isValid())
        edit_->setValue(index.data(Qt::UserRole).toInt());
}

int32_t TRecordPicker::ChosenNumber() const {
    edit_->interpretText();
    return edit_->value();
}

void TRecordPicker::AppendEntry(const QString& text, int32_t number) {
    auto* item = new QStandardItem(text);
    item->setData(number, Qt::UserRole);
    item->setEditable(false);
    own_->appendRow(item);
}

void TRecordPicker::showEvent(QShowEvent* event) {
    TOkDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (rememberedSize.isValid())
        resize(rememberedSize.expandedTo(minimumSizeHint()));
    if (parentWidget())
        PlaceBeside(this, parentWidget()->window());
    // A builder who opens a picker types what he looks for: the letters go
    // into the filter, not into a list that drops them.
    FilterEdit->setFocus();
}

void TRecordPicker::hideEvent(QHideEvent* event) {
    TOkDialog::hideEvent(event);
    if (!event->spontaneous())
        rememberedSize = size();
}

bool TRecordPicker::event(QEvent* event) {
    // Every activation starts a new choice; only "Ok" sets the flag again.
    // The window system may still report the activation of a window that
    // "Ok" has already closed: that one must not take the choice back.
    if (event->type() == QEvent::WindowActivate && isVisible())
        ClearAccepted();
    return TOkDialog::event(event);
}

void TRecordPicker::ChooseClick() {
    const QModelIndex row = SelectedRow();
    if (!row.isValid()) {
        Prompts().Error(prompt_);
        return;
    }
    edit_->setValue(row.data(Qt::UserRole).toInt());
}

void TRecordPicker::ListDoubleClick(const QModelIndex& index) {
    list_->setCurrentIndex(index);
    ChooseClick();
}

void TRecordPicker::AcceptClick() {
    // A row selected with the keys and no number typed: Ok takes the row.
    if (const QModelIndex row = SelectedRow(); row.isValid() && ChosenNumber() == 0)
        edit_->setValue(row.data(Qt::UserRole).toInt());
    if (ChosenNumber() == 0) {
        Prompts().Error(prompt_);
        return;
    }
    AcceptOk();
}

TTriggerForm::TTriggerForm(QWidget* parent)
    : TRecordPicker(QStringLiteral("Триггер"), QStringLiteral("Выберите триггер"),
                    QStringLiteral("TriggerListBox"), QStringLiteral("TriggerEdit"), parent) {
    setObjectName(QStringLiteral("TriggerForm"));
    TriggerListBox = list();
    TriggerEdit = edit();
}

void TTriggerForm::Fill(const TTriggerList& triggers, int attachKind) {
    ClearOwnEntries();
    for (const auto& trigger : triggers)
        if (trigger->Model == attachKind)
            AppendEntry(FromCp1251(std::to_string(trigger->VNum) + " " + trigger->Name),
                        trigger->VNum);
}

void TTriggerForm::Preset(int32_t number) {
    PresetNumber(number);
}
