#include "recordpage.h"

#include "mainform.h"
#include "textcodec.h"
#include "worlddocument.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QVBoxLayout>

TRecordPage::TRecordPage(TMainForm& main, const QString& sheetName, const QString& idName)
    : IDComboBox(new QComboBox(this)), Body(new QWidget(this)),
      UsesBtn(new QPushButton(QStringLiteral("Где используется"), this)), main_(main) {
    setObjectName(sheetName);
    IDComboBox->setObjectName(idName);
    IDComboBox->setMinimumWidth(320);
    IDComboBox->setMaxVisibleItems(25);

    auto* top = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Номер:"), this);
    label->setBuddy(IDComboBox);
    top->addWidget(label);
    top->addWidget(IDComboBox);
    top->addStretch();
    UsesBtn->setObjectName(idName.left(2) + QStringLiteral("UsesBtn"));
    UsesBtn->setAutoDefault(false);
    top->addWidget(UsesBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Body, 1);

    connect(IDComboBox, &QComboBox::activated, this, [this] { SelectionChanged(); });
}

void TRecordPage::Refill(const std::vector<TListEntry>& entries) {
    const QSignalBlocker block(IDComboBox);
    IDComboBox->clear();
    for (const auto& entry : entries)
        IDComboBox->addItem(ListText(entry.Text), entry.VNum);
    SortByNumber();
    IDComboBox->setCurrentIndex(entries.empty() ? -1 : 0);
    Current.reset();
    if (HasSelection())
        Current = IDComboBox->currentData().toInt();
}

int TRecordPage::Count() const {
    return IDComboBox->count();
}

int TRecordPage::RowOf(int32_t vnum) const {
    return IDComboBox->findData(vnum);
}

void TRecordPage::AddEntry(const TListEntry& entry) {
    const QSignalBlocker block(IDComboBox);
    const QVariant selected = IDComboBox->currentData();
    IDComboBox->addItem(ListText(entry.Text), entry.VNum);
    SortByNumber();
    IDComboBox->setCurrentIndex(selected.isValid() ? IDComboBox->findData(selected) : -1);
}

void TRecordPage::ShowEntryText(int32_t vnum, const QString& text) {
    const int row = RowOf(vnum);
    if (row >= 0)
        IDComboBox->setItemText(row, WithoutColourCodes(text));
}

void TRecordPage::SortByNumber() {
    // By the number each entry carries: 106 before 1040.
    auto* model = qobject_cast<QStandardItemModel*>(IDComboBox->model());
    model->setSortRole(Qt::UserRole);
    model->sort(0);
}

void TRecordPage::RemoveRow(int row) {
    const QSignalBlocker block(IDComboBox);
    IDComboBox->removeItem(row);
}

bool TRecordPage::HasSelection() const {
    return IDComboBox->currentIndex() >= 0;
}

void TRecordPage::SelectionChanged() {
    if (main_.ConfirmStore() && !StoreCurrent()) {
        const QSignalBlocker block(IDComboBox);
        IDComboBox->setCurrentIndex(Current ? RowOf(*Current) : -1);
        return;
    }
    if (HasSelection()) {
        Current = IDComboBox->currentData().toInt();
        ShowCurrent();
    }
    main_.SetChanged(false);
}

void TRecordPage::SelectRow(int row) {
    {
        const QSignalBlocker block(IDComboBox);
        IDComboBox->setCurrentIndex(row);
    }
    SelectionChanged();
}

bool TRecordPage::First() {
    if (Count() == 0)
        return false;
    SelectRow(0);
    return true;
}

bool TRecordPage::Previous() {
    if (IDComboBox->currentIndex() <= 0)
        return false;
    SelectRow(IDComboBox->currentIndex() - 1);
    return true;
}

bool TRecordPage::Next() {
    const int row = IDComboBox->currentIndex();
    if (row < 0 || row >= Count() - 1)
        return false;
    SelectRow(row + 1);
    return true;
}

bool TRecordPage::Last() {
    if (Count() == 0)
        return false;
    SelectRow(Count() - 1);
    return true;
}

void TRecordPage::ShowCurrent() {
    if (ShowRecord)
        ShowRecord(Current);
}

bool TRecordPage::StoreCurrent() {
    if (!Current || !ReadRecord)
        return true;
    if (CanStore && !CanStore())
        return false;
    const int page = main_.PageControl1->indexOf(this);
    const int32_t vnum = *Current;
    main_.Document->Change(main_.PlaceOn(page),
                           TMainForm::StepText(QStringLiteral("изменение"), page, vnum),
                           [&] { ReadRecord(vnum); });
    return true;
}

void TRecordPage::Change() {
    if (HasSelection())
        main_.SetChanged(true);
}
