#include "recordlistmodel.h"

#include "textcodec.h"

#include <algorithm>

TRecordListModel::TRecordListModel(TSource source, QObject* parent)
    : QAbstractListModel(parent), source_(std::move(source)) {}

std::vector<TRecordListModel::TRow> TRecordListModel::RowsOf(std::vector<TListName> names) {
    std::stable_sort(names.begin(), names.end(),
                     [](const TListName& a, const TListName& b) { return a.VNum < b.VNum; });
    return names;
}

void TRecordListModel::Reload() {
    beginResetModel();
    rows_ = RowsOf(source_(std::nullopt));
    endResetModel();
}

size_t TRecordListModel::LowerBound(int32_t vnum) const {
    return static_cast<size_t>(
        std::lower_bound(rows_.begin(), rows_.end(), vnum,
                         [](const TRow& row, int32_t value) { return row.VNum < value; }) -
        rows_.begin());
}

void TRecordListModel::ReloadZone(int32_t zone) {
    const std::vector<TRow> fresh = RowsOf(source_(zone));
    // The zone's rows sit together: its numbers are zone * 100 .. zone * 100 + 99.
    size_t row = LowerBound(zone * 100);
    size_t next = 0;
    const auto inZone = [&](size_t at) {
        return at < rows_.size() && ZoneOf(rows_[at].VNum) == zone;
    };
    while (inZone(row) || next < fresh.size()) {
        const bool hasOld = inZone(row);
        const bool hasNew = next < fresh.size();
        const int at = static_cast<int>(row);
        if (hasOld && hasNew && rows_[row].VNum == fresh[next].VNum) {
            if (rows_[row] != fresh[next]) {
                rows_[row] = fresh[next];
                emit dataChanged(index(at), index(at), {Qt::DisplayRole});
            }
            ++row;
            ++next;
        } else if (hasOld && (!hasNew || rows_[row].VNum < fresh[next].VNum)) {
            beginRemoveRows({}, at, at);
            rows_.erase(rows_.begin() + at);
            endRemoveRows();
        } else {
            beginInsertRows({}, at, at);
            rows_.insert(rows_.begin() + at, fresh[next]);
            endInsertRows();
            ++row;
            ++next;
        }
    }
}

int TRecordListModel::RowOf(int32_t vnum) const {
    const size_t row = LowerBound(vnum);
    return row < rows_.size() && rows_[row].VNum == vnum ? static_cast<int>(row) : -1;
}

int TRecordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant TRecordListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size()))
        return {};
    const TRow& row = rows_[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole)
        return ListText(row.Text());
    if (role == Qt::UserRole)
        return row.VNum;
    return {};
}
