#pragma once

// A list window: the records of one kind of the current zone, in a tool
// window beside the main window. Five of them live from start to exit, for
// rooms, objects, mobs, shops and triggers.

#include "recordlist.h"

#include <QWidget>
#include <vector>

class QListWidget;
class QListWidgetItem;

class TListForm : public QWidget {
    Q_OBJECT

public:
    explicit TListForm(QWidget* parent = nullptr);

    // Which list the window shows: 0 rooms, 1 objects, 2 mobs, 3 shops, 4 triggers.
    void SetKindTag(int tag) { tag_ = tag; }
    int KindTag() const { return tag_; }
    // Replaces the entries; their texts are Windows-1251.
    void Fill(const std::vector<TListEntry>& entries);

    // Sorted by text; each entry carries its record number as Qt::UserRole.
    QListWidget* ListBox1;

signals:
    // The window was closed by its close box; the menu entry that shows it
    // loses its check mark.
    void closed(int tag);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ListBox1DblClick(QListWidgetItem* item);

    int tag_ = 0;
};
