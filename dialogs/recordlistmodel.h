#pragma once

// The records of one kind as a list model, for the list windows and the
// pickers: one row per record, "number  name", ascending by number (so 106
// comes before 1040), the number under Qt::UserRole. Rows follow the world
// zone by zone, inserted, removed and renamed one by one; views over it keep
// their place, and nothing is copied into item widgets.

#include "recordlist.h"

#include <QAbstractListModel>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class TRecordListModel : public QAbstractListModel {
    Q_OBJECT

public:
    // The entries of every record (no zone) or of one zone's records, in any
    // order; their texts are Windows-1251.
    using TSource = std::function<std::vector<TListName>(std::optional<int32_t> zone)>;

    explicit TRecordListModel(TSource source, QObject* parent = nullptr);

    // Every row anew (the workspace was read).
    void Reload();
    // The rows of one zone brought in line with its records, row by row.
    void ReloadZone(int32_t zone);

    // The row of the first record with that number, -1 when none.
    int RowOf(int32_t vnum) const;
    int32_t NumberAt(int row) const { return rows_[static_cast<size_t>(row)].VNum; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    // A row's text is made only when a view shows it: a QString for each of
    // a large world's records took a tenth of the editor's memory.
    using TRow = TListName;
    static std::vector<TRow> RowsOf(std::vector<TListName> names);
    // The first row whose number is not below `vnum`.
    size_t LowerBound(int32_t vnum) const;

    TSource source_;
    std::vector<TRow> rows_;
};
