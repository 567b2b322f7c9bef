#pragma once

// The list the problems, search and "where used" windows share: one row per
// record found, its columns as given, each row carrying the page and number
// of the record it names. A double-click (or Enter) asks to open it.

#include "world.h"

#include <QTreeWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// What the three windows look at: the world of the workspace and the zone
// being worked on.
struct TWorldSource {
    const TWorld* World = nullptr;
    std::function<std::optional<int32_t>()> CurrentZone;

    TWorldView View() const { return World->View(); }
};

// The row text of a record: "Комната 1201 (Зал)".
QString CaptionText(const TWorldView& world, TRecordType type, int32_t vnum);

class TRecordTable : public QTreeWidget {
    Q_OBJECT

public:
    TRecordTable(const char* name, const QStringList& headers, QWidget* parent);

    // A row naming the record of `page` (0 zone, 1 rooms, ... 5 triggers) and
    // number; for a record not read, its place among its file's records not
    // read (`unparsed`), which its number does not tell; for a problem inside
    // a trigger's script, the line of the script (`line`, from 0).
    static QTreeWidgetItem* Row(const QStringList& columns, int page, int32_t vnum,
                                int unparsed = -1, int line = -1);
    // Replaces every row at once (thousands of problems fill the list quickly).
    void SetRows(const QList<QTreeWidgetItem*>& rows);
    // The page and number of a row, of the current row.
    std::pair<int, int32_t> RecordAt(int row) const;
    std::optional<std::pair<int, int32_t>> CurrentRecord() const;
    int RowCount() const { return topLevelItemCount(); }
    QString TextAt(int row, int column) const;

signals:
    void openRecord(int page, int vnum);
    // A row of a record not read: its zone and place among its file's.
    void openUnparsed(int page, int zone, int index);
    // A row of a line inside a trigger's script.
    void openScriptLine(int vnum, int line);
};
