#pragma once

// A list window: the records of one kind of the current zone, in a tool
// window beside the main window. Five of them live from start to exit, for
// rooms, objects, mobs, shops and triggers.

#include <QWidget>

class QAbstractItemModel;
class QLineEdit;
class QListView;
class QModelIndex;
class QSortFilterProxyModel;

class TListForm : public QWidget {
    Q_OBJECT

public:
    explicit TListForm(QWidget* parent = nullptr);

    // Which list the window shows: 0 rooms, 1 objects, 2 mobs, 3 shops, 4 triggers.
    void SetKindTag(int tag) { tag_ = tag; }
    int KindTag() const { return tag_; }
    // The records shown: one row each, its number as Qt::UserRole.
    void SetModel(QAbstractItemModel* model);

    // Narrows the list to the rows holding the typed text (number or name).
    QLineEdit* FilterEdit;
    QListView* ListBox1;

signals:
    // The window was closed by its close box; the menu entry that shows it
    // loses its check mark.
    void closed(int tag);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ListBox1DblClick(const QModelIndex& index);

    QSortFilterProxyModel* filter_;
    int tag_ = 0;
};
