#include "recordpage.h"

#include "editorcontext.h"
#include "textcodec.h"
#include "unparsed.h"
#include "worlddocument.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The ID list's roles beside the number (Qt::UserRole, records read only):
// the order it is sorted by, and a record not read's place among the zone's.
constexpr int kOrderRole = Qt::UserRole + 1;
constexpr int kUnparsedRole = Qt::UserRole + 2;

// Records read sort by number; one not read goes after the record read
// with its number, or (without one) after the record it followed in the file.
qint64 OrderOf(int32_t vnum) {
    return qint64{vnum} * 4;
}
qint64 OrderOf(const TUnparsedRecord& record) {
    if (const auto number = UnparsedNumber(record))
        return OrderOf(*number) + 1;
    return record.After ? OrderOf(*record.After) + 2 : OrderOf(INT32_MIN) - 1;
}

} // namespace

TRecordPage::TRecordPage(TEditorContext& main, int page, const QString& sheetName,
                         const QString& idName)
    : Page(page), IDComboBox(new QComboBox(this)), Body(new QWidget(this)), UnparsedView(new QWidget(this)),
      UnparsedLabel(new QLabel(UnparsedView)), UnparsedText(new QPlainTextEdit(UnparsedView)),
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

    const QString prefix = idName.left(2);
    UnparsedLabel->setObjectName(prefix + QStringLiteral("UnparsedLabel"));
    UnparsedLabel->setWordWrap(true);
    UnparsedLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    UnparsedText->setObjectName(prefix + QStringLiteral("UnparsedText"));
    UnparsedText->setReadOnly(true);
    UnparsedText->setLineWrapMode(QPlainTextEdit::NoWrap);
    UnparsedText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* unparsed = new QVBoxLayout(UnparsedView);
    unparsed->setContentsMargins(0, 0, 0, 0);
    unparsed->addWidget(UnparsedLabel);
    unparsed->addWidget(UnparsedText, 1);
    UnparsedView->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Body, 1);
    layout->addWidget(UnparsedView, 1);

    connect(IDComboBox, &QComboBox::activated, this, [this] { SelectionChanged(); });
}

void TRecordPage::Fill() {
    const QSignalBlocker block(IDComboBox);
    IDComboBox->clear();
    TZoneRecords records;
    if (zone_ && ZoneRecords)
        records = ZoneRecords(*zone_);
    unparsed_ = std::move(records.Unparsed);
    for (const auto& entry : records.Entries)
        AddItem(ListText(entry.Text), entry.VNum, OrderOf(entry.VNum), {});
    for (size_t i = 0; i < unparsed_.size(); ++i)
        AddItem(FromCp1251(UnparsedEntryText(unparsed_[i])), {}, OrderOf(unparsed_[i]),
                static_cast<int>(i));
    SortByNumber();
    IDComboBox->setCurrentIndex(-1);
}

void TRecordPage::ShowZone(std::optional<int32_t> zone) {
    zone_ = zone;
    Fill();
    const QSignalBlocker block(IDComboBox);
    IDComboBox->setCurrentIndex(Count() == 0 ? -1 : 0);
    Current.reset();
    CurrentUnparsed.reset();
    if (HasSelection())
        TakeSelection();
}

void TRecordPage::AddItem(const QString& text, const QVariant& vnum, qint64 order,
                          const QVariant& unparsed) {
    IDComboBox->addItem(text, vnum);
    const int row = Count() - 1;
    IDComboBox->setItemData(row, order, kOrderRole);
    if (unparsed.isValid())
        IDComboBox->setItemData(row, unparsed, kUnparsedRole);
}

void TRecordPage::TakeSelection() {
    const QVariant unparsed = IDComboBox->currentData(kUnparsedRole);
    if (unparsed.isValid()) {
        Current.reset();
        CurrentUnparsed = unparsed.toInt();
    } else {
        Current = IDComboBox->currentData().toInt();
        CurrentUnparsed.reset();
    }
}

int TRecordPage::Count() const {
    return IDComboBox->count();
}

int TRecordPage::RowOf(int32_t vnum) const {
    return IDComboBox->findData(vnum);
}

int TRecordPage::RowOfUnparsed(int index) const {
    return IDComboBox->findData(index, kUnparsedRole);
}

const TUnparsedRecord* TRecordPage::ShownUnparsed() const {
    return CurrentUnparsed && static_cast<size_t>(*CurrentUnparsed) < unparsed_.size()
               ? &unparsed_[static_cast<size_t>(*CurrentUnparsed)]
               : nullptr;
}

void TRecordPage::Follow(const TWorldChange& change) {
    const TZoneDiff* diff = zone_ ? change.DiffOf(*zone_) : nullptr;
    if (!diff)
        return;
    const auto kind = static_cast<size_t>(Page - 1);
    const TRecordChanges& records = diff->Records[kind];
    if (records.Empty() && !diff->Unparsed[kind])
        return;
    const QVariant selected = IDComboBox->currentData();
    const QVariant unparsed = IDComboBox->currentData(kUnparsedRole);
    Fill();
    {
        const QSignalBlocker block(IDComboBox);
        IDComboBox->setCurrentIndex(unparsed.isValid()   ? RowOfUnparsed(unparsed.toInt())
                                    : selected.isValid() ? IDComboBox->findData(selected)
                                                         : -1);
    }
    // A step on this page shows what it stored already; one made elsewhere
    // (the map, another page, an undo) may have changed the record shown.
    const bool ownStep = !change.Restored && change.Place.Page == Page;
    if (!ownStep && Current && RowOf(*Current) >= 0 &&
        std::find(records.Changed.begin(), records.Changed.end(), *Current) !=
            records.Changed.end())
        ShowCurrent();
}

void TRecordPage::ShowEntryText(int32_t vnum, const QString& text) {
    const int row = RowOf(vnum);
    if (row >= 0)
        IDComboBox->setItemText(row, WithoutColourCodes(text));
}

void TRecordPage::SortByNumber() {
    // By the number each entry carries: 106 before 1040.
    auto* model = qobject_cast<QStandardItemModel*>(IDComboBox->model());
    model->setSortRole(kOrderRole);
    model->sort(0);
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
        TakeSelection();
        ShowCurrent();
    }
    main_.SetChanged(false);
}

void TRecordPage::SetCurrentRow(int row) {
    const QSignalBlocker block(IDComboBox);
    IDComboBox->setCurrentIndex(row);
    if (HasSelection())
        TakeSelection();
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
    if (const TUnparsedRecord* record = ShownUnparsed()) {
        ShowUnparsed(*record);
    } else {
        UnparsedView->hide();
        Body->show();
        if (ShowRecord)
            ShowRecord(Current);
    }
    EnableEditing(!CurrentUnparsed);
}

void TRecordPage::ShowUnparsed(const TUnparsedRecord& record) {
    UnparsedLabel->setText(QStringLiteral("Запись не прочитана (") +
                           FromCp1251(UnparsedReason(record)) +
                           QStringLiteral(").\nОна показана как текст и записывается в файл как "
                                          "была; изменить её здесь нельзя."));
    UnparsedText->setPlainText(FromCp1251(UnparsedRecordText(record)));
    Body->hide();
    UnparsedView->show();
}

void TRecordPage::EnableEditing(bool editable) {
    UsesBtn->setEnabled(editable);
    if (main_.CurrentPage() == Page)
        main_.EnableRecordCommands(Count() > 0);
}

bool TRecordPage::StoreCurrent() {
    if (!Current || !StoreRecord)
        return true;
    if (CanStore && !CanStore())
        return false;
    const int32_t vnum = *Current;
    StoreRecord(vnum, main_.PlaceOn(Page), StepText(QStringLiteral("изменение"), Page, vnum));
    return true;
}

void TRecordPage::Change() {
    if (HasSelection())
        main_.SetChanged(true);
}
