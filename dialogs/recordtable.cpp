#include "recordtable.h"

#include "textcodec.h"

#include <QHeaderView>

namespace {

constexpr int kPageRole = Qt::UserRole;
constexpr int kNumberRole = Qt::UserRole + 1;

} // namespace

QString CaptionText(const TWorldView& world, TRecordType type, int32_t vnum) {
    return FromCp1251(RecordCaption(world, type, vnum));
}

TRecordTable::TRecordTable(const char* name, const QStringList& headers, QWidget* parent)
    : QTreeWidget(parent) {
    setObjectName(QLatin1String(name));
    setHeaderLabels(headers);
    setRootIsDecorated(false);
    setUniformRowHeights(true); // thousands of rows stay quick
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        emit openRecord(item->data(0, kPageRole).toInt(), item->data(0, kNumberRole).toInt());
    });
}

QTreeWidgetItem* TRecordTable::Row(const QStringList& columns, int page, int32_t vnum) {
    auto* item = new QTreeWidgetItem(columns);
    item->setData(0, kPageRole, page);
    item->setData(0, kNumberRole, vnum);
    return item;
}

void TRecordTable::SetRows(const QList<QTreeWidgetItem*>& rows) {
    clear();
    addTopLevelItems(rows);
    if (!rows.isEmpty())
        setCurrentItem(rows.front());
}

std::pair<int, int32_t> TRecordTable::RecordAt(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return {item->data(0, kPageRole).toInt(), item->data(0, kNumberRole).toInt()};
}

std::optional<std::pair<int, int32_t>> TRecordTable::CurrentRecord() const {
    QTreeWidgetItem* item = currentItem();
    if (!item)
        return std::nullopt;
    return RecordAt(indexOfTopLevelItem(item));
}

QString TRecordTable::TextAt(int row, int column) const {
    return topLevelItem(row)->text(column);
}
