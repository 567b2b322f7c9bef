#pragma once

// "Где используется": every place of the workspace that refers to one record
// (exits, keys, resets, shops, routes, triggers, the zones' lists); a
// double-click opens the place.

#include "recordtable.h"

#include <QDialog>

class QLabel;
class QPushButton;

class TUsesForm : public QDialog {
    Q_OBJECT

public:
    explicit TUsesForm(QWidget* parent = nullptr);

    void SetSource(TWorldSource source) { source_ = std::move(source); }
    // Lists the places referring to the record of that page and number.
    void ShowUses(int page, int32_t vnum);

    QLabel* U_RecordLabel;
    TRecordTable* U_UsesList;
    QPushButton* U_CloseBtn;

signals:
    void openRecord(int page, int vnum);

private:
    TWorldSource source_;
};
