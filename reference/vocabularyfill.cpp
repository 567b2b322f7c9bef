#include "vocabularyfill.h"

#include "textcodec.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QListWidget>
#include <QTableWidget>
#include <algorithm>

namespace {
std::vector<TVocabularyItem> ItemsOf(const QListWidget* list) {
    std::vector<TVocabularyItem> items;
    for (int i = 0; i < list->count(); ++i)
        items.push_back({std::string(), list->item(i)->data(kCodeRole).toInt()});
    return items;
}

QTableWidgetItem* FixedCell(const std::string& text) {
    auto* cell = new QTableWidgetItem(FromCp1251(text));
    cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
    return cell;
}

// Entries padded with spaces into columns line up only in a fixed-pitch font.
void LineUpColumns(QWidget* box, const std::vector<TVocabularyItem>& items) {
    const bool columns = std::any_of(items.begin(), items.end(), [](const TVocabularyItem& item) {
        return item.Text.find("  ") != std::string::npos;
    });
    if (columns)
        box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}
} // namespace

void FillCombo(QComboBox* combo, const std::vector<TVocabularyItem>& items, int startIndex) {
    LineUpColumns(combo, items);
    for (const auto& item : items)
        combo->addItem(FromCp1251(item.Text), item.Code);
    combo->setCurrentIndex(startIndex < combo->count() ? startIndex : -1);
}

void FillFlags(QListWidget* list, const std::vector<TVocabularyItem>& items) {
    LineUpColumns(list, items);
    for (const auto& entry : items) {
        auto* item = new QListWidgetItem(FromCp1251(entry.Text), list);
        item->setData(kCodeRole, entry.Code);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    list->setCurrentRow(-1);
}

void FillGridRows(QTableWidget* grid, const std::vector<TGridRow>& rows, TGridKind kind) {
    const bool spells = kind == TGridKind::Spells;
    const QStringList headings =
        spells ? QStringList{QStringLiteral("Заклинание"), QStringLiteral("Круг"),
                             QStringLiteral("Уровень"), QStringLiteral("Количество")}
               : QStringList{QStringLiteral("Умение"), QStringLiteral("Уровень"),
                             QStringLiteral("Владение (%)")};
    const std::vector<int> widths =
        spells ? std::vector<int>{181, 56, 55, 71} : std::vector<int>{181, 80, 102};
    grid->setColumnCount(static_cast<int>(headings.size()));
    grid->setHorizontalHeaderLabels(headings);
    for (int c = 0; c < grid->columnCount(); ++c)
        grid->setColumnWidth(c, widths[static_cast<size_t>(c)]);
    grid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < grid->rowCount(); ++r) {
        const TGridRow& row = rows[static_cast<size_t>(r)];
        QTableWidgetItem* name = FixedCell(row.Name);
        name->setData(kCodeRole, row.Code);
        grid->setItem(r, 0, name);
        if (spells) {
            grid->setItem(r, 1, FixedCell(row.Circle));
            grid->setItem(r, 2, FixedCell(row.Level));
        } else {
            grid->setItem(r, 1, FixedCell(row.Level));
        }
        grid->setItem(r, grid->columnCount() - 1, new QTableWidgetItem());
    }
}

void FillCodeCombo(const std::string& programFolder, const std::string& listName, QComboBox* combo,
                   int padWidth, int startIndex) {
    FillCombo(combo, CodedItems(LoadVocabulary(programFolder, listName), padWidth, listName),
              startIndex);
}

void FillSpellCombo(const std::string& programFolder, const std::string& listName, QComboBox* combo,
                    int startIndex) {
    FillCombo(combo, SpellItems(LoadVocabulary(programFolder, listName), listName), startIndex);
}

void FillFlagList(const std::string& programFolder, const std::string& listName, QListWidget* list,
                  int padWidth) {
    FillFlags(list, FlagItems(LoadVocabulary(programFolder, listName), padWidth));
}

void FillGrid(const std::string& programFolder, const std::string& listName, QTableWidget* grid,
              TGridKind kind) {
    FillGridRows(grid, GridRows(LoadVocabulary(programFolder, listName), listName), kind);
}

void FlagsToChecks(std::string_view flags, QListWidget* list) {
    const std::vector<bool> checks = FlagsToChecks(flags, ItemsOf(list));
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setCheckState(checks[static_cast<size_t>(i)] ? Qt::Checked : Qt::Unchecked);
}

namespace {
std::vector<bool> ChecksOf(const QListWidget* list) {
    std::vector<bool> checks;
    for (int i = 0; i < list->count(); ++i)
        checks.push_back(list->item(i)->checkState() == Qt::Checked);
    return checks;
}
} // namespace

std::string ChecksToFlags(const QListWidget* list) {
    return ChecksToFlags(ItemsOf(list), ChecksOf(list));
}

std::string ChecksToFlagsKeeping(const QListWidget* list, std::string_view previous) {
    return MergeFlags(previous, ItemsOf(list), ChecksOf(list));
}

void ShowCode(QComboBox* combo, int code) {
    // A value the list does not name gets an entry of its own, so the builder
    // reads what the record holds and Apply keeps it; the entry of an earlier
    // record's value goes, lest the list collect them.
    for (int i = combo->count() - 1; i >= 0; --i)
        if (combo->itemData(i, kUnlistedRole).toBool() &&
            combo->itemData(i, kCodeRole).toInt() != code)
            combo->removeItem(i);
    int index = combo->findData(code, kCodeRole);
    if (index < 0) {
        combo->addItem(QStringLiteral("%1 (нет в списке)").arg(code), code);
        index = combo->count() - 1;
        combo->setItemData(index, true, kUnlistedRole);
    }
    combo->setCurrentIndex(index);
}

int ReadCode(const QComboBox* combo, int fallback) {
    return combo->currentIndex() < 0 ? fallback : combo->currentData(kCodeRole).toInt();
}
