#include "recordtable.h"

#include "textcodec.h"

#include <QCollator>
#include <QHeaderView>

namespace {

constexpr int kPageRole = Qt::UserRole;
constexpr int kNumberRole = Qt::UserRole + 1;
constexpr int kUnparsedRole = Qt::UserRole + 2;
constexpr int kLineRole = Qt::UserRole + 3;

// Rows sort as a reader expects: the numbers in the texts by their value,
// "Комната 13517" before "Комната 104320".
class TRecordRow : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return Collator().compare(text(column), other.text(column)) < 0;
    }

private:
    static const QCollator& Collator() {
        static const QCollator collator = [] {
            QCollator made(QLocale(QLocale::Russian));
            made.setNumericMode(true);
            made.setCaseSensitivity(Qt::CaseInsensitive);
            return made;
        }();
        return collator;
    }
};

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
    // A click on a column's title sorts by it; until then the first column.
    setSortingEnabled(true);
    sortByColumn(0, Qt::AscendingOrder);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const int page = item->data(0, kPageRole).toInt();
        const int32_t vnum = item->data(0, kNumberRole).toInt();
        const QVariant unparsed = item->data(0, kUnparsedRole);
        const QVariant line = item->data(0, kLineRole);
        if (line.isValid())
            emit openScriptLine(vnum, line.toInt());
        else if (unparsed.isValid())
            emit openUnparsed(page, ZoneOfRecord(static_cast<TRecordType>(page), vnum),
                              unparsed.toInt());
        else
            emit openRecord(page, vnum);
    });
}

QTreeWidgetItem* TRecordTable::Row(const QStringList& columns, int page, int32_t vnum, int unparsed,
                                   int line) {
    auto* item = new TRecordRow(columns);
    item->setData(0, kPageRole, page);
    item->setData(0, kNumberRole, vnum);
    if (unparsed >= 0)
        item->setData(0, kUnparsedRole, unparsed);
    if (line >= 0)
        item->setData(0, kLineRole, line);
    return item;
}

void TRecordTable::SetRows(const QList<QTreeWidgetItem*>& rows) {
    // Sorted once, after all are in.
    setSortingEnabled(false);
    clear();
    addTopLevelItems(rows);
    setSortingEnabled(true);
    // Every column but the last (which takes the rest) as wide as its texts.
    for (int column = 0; column + 1 < columnCount(); ++column)
        resizeColumnToContents(column);
    if (!rows.isEmpty())
        setCurrentItem(topLevelItem(0));
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
