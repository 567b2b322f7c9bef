#pragma once

// The record pickers: small modal windows in which the builder chooses a
// trigger, a mob or an object by its number. TRecordPicker is the shape the
// three share; TTriggerForm is the trigger picker of the object, mob and room
// pages.

#include "dialogparts.h"
#include "trigger.h"

#include <QSize>
#include <cstdint>

class QAbstractItemModel;
class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QListView;
class QModelIndex;
class QPushButton;
class QStandardItemModel;
class QSpinBox;
class QVBoxLayout;

// A list of candidates (text "number name", the number as Qt::UserRole), a
// number field holding the choice (a row chosen in the list puts its number
// there, as "Выбрать" does), "Ok" accepting a number other than 0 and "Отмена".
// Acceptance is reported by Accepted(), which only "Ok" sets and every
// showing or activation of the window clears.
class TRecordPicker : public TOkDialog {
    Q_OBJECT

public:
    QPushButton* OkBtn;     // "Выбрать": the selected entry into the number field
    QPushButton* AddBtn;    // "Ok": accepts
    QPushButton* CancelBtn; // "Отмена"
    QLineEdit* FilterEdit;  // narrows the list as the builder types

    // The size the builder last left a picker at (invalid until he closed
    // one); kept in the settings between runs.
    static QSize RememberedSize();
    static void SetRememberedSize(QSize size);

protected:
    // `prompt` is the heading and also the error shown when nothing is chosen;
    // the list and the number field get the object names given.
    TRecordPicker(const QString& caption, const QString& prompt, const QString& listName,
                  const QString& editName, QWidget* parent);

    QListView* list() const { return list_; }
    QSpinBox* edit() const { return edit_; }
    // Where a picker puts its own controls, between the number and the buttons.
    QVBoxLayout* extras() const { return extras_; }

    // Selects the first entry carrying `number` (nothing when none does) and
    // puts the number into the field.
    void PresetNumber(int32_t number);
    // The number field, with what the user is still typing taken in.
    int32_t ChosenNumber() const;
    // The list shows `model` (shared with the list windows; not owned).
    void ShowModel(QAbstractItemModel* model);
    // The list shows entries of its own: emptied, then appended one by one.
    void ClearOwnEntries();
    void AppendEntry(const QString& text, int32_t number);

    bool event(QEvent* event) override;
    // Opens beside the main window, at the same place each time.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ChooseClick();
    void AcceptClick();
    void ListDoubleClick(const QModelIndex& index);
    void RowChosen(const QModelIndex& index);
    // The selected row, when there is one.
    QModelIndex SelectedRow() const;

    QString prompt_;
    QLabel* promptLabel_;
    QListView* list_;
    QStandardItemModel* own_;
    QSortFilterProxyModel* filter_;
    QSpinBox* edit_;
    QVBoxLayout* extras_;
};

class TTriggerForm : public TRecordPicker {
    Q_OBJECT

public:
    explicit TTriggerForm(QWidget* parent = nullptr);

    // The triggers of the list attached to kind `attachKind` (0 mob,
    // 1 object, 2 room), in list order, as "<number> <name>".
    void Fill(const TTriggerList& triggers, int attachKind);
    void Preset(int32_t number);
    int32_t Number() const { return ChosenNumber(); }

    QListView* TriggerListBox;
    QSpinBox* TriggerEdit;
};
