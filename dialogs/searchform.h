#pragma once

// The search window ("Найти..."): a record by its number, of any kind in any
// zone (Enter opens it), or the lines of names, descriptions and scripts
// across the workspace that hold a text, letter case aside. A double-click
// opens a result's record; "Где используется" lists what refers to it.

#include "recordtable.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TSearchForm : public QDialog {
    Q_OBJECT

public:
    explicit TSearchForm(QWidget* parent = nullptr);

    void SetSource(TWorldSource source) { source_ = std::move(source); }
    // The most results a text search lists.
    static constexpr size_t kMaxResults = 1000;

    QLineEdit* F_SearchEdit;
    QRadioButton* F_NumberRadio; // "По номеру"
    QRadioButton* F_TextRadio;   // "По тексту"
    QPushButton* F_FindBtn;      // the default button: Enter in the edit
    TRecordTable* F_ResultsList;
    QLabel* F_CountLabel;
    QPushButton* F_UsesBtn;
    QPushButton* F_CloseBtn;

    // Shows the window with the search text selected, ready to be typed over.
    void Start();
    // "Найти": by number (a text that is no number is searched as text) or by
    // text. A number found opens its first record.
    void Find();

signals:
    void openRecord(int page, int vnum);
    void showUses(int page, int vnum);

private:
    void FindNumber(int32_t vnum);
    void FindText(const QString& text);

    TWorldSource source_;
};
