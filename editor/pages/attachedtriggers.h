#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

class QListWidget;
class QListWidgetItem;
class QPushButton;
class TPrompts;
class TTriggerForm;
class TTriggerList;

// How a page shows its attached triggers: the object names of the list and
// its buttons, the caption above the list (none when empty), and, asked before
// any command, whether there is a record to attach triggers to, else the error
// shown. The picker offers the triggers of the attach kind (0 mob, 1 object,
// 2 room), filled when it opens; -1 leaves it as it is.
struct TAttachedTriggerSetup {
    const char* List;
    const char* Add;
    const char* Edit;
    const char* Delete;
    QString Caption;
    std::function<bool()> RecordShown;
    QString NoRecord;
    int AttachKind = -1;
};

// The triggers attached to a room, an object or a mob: their list with the
// add, edit and delete buttons. The numbers are picked in the trigger picker
// and shown with their captions from the given trigger list; the record gets
// them back through Numbers().
class TAttachedTriggers : public QWidget {
    Q_OBJECT

public:
    TAttachedTriggers(const TTriggerList& triggers, TTriggerForm& picker, TPrompts& prompts,
                      TAttachedTriggerSetup setup, QWidget* parent = nullptr);

    // The page's own names for the list and the buttons.
    void Expose(QListWidget*& list, QPushButton*& add, QPushButton*& edit, QPushButton*& del) const;

    void Show(const std::vector<int32_t>& numbers);
    std::vector<int32_t> Numbers() const;

    QListWidget* List;
    QPushButton *AddBtn, *EditBtn, *DelBtn;

signals:
    // The builder changed the list.
    void changed();

private:
    bool RecordShown() const;
    void Add();
    void Edit();
    void Delete();
    void SetTrigger(QListWidgetItem* item, int32_t number) const;
    // Filled only when it opens: a world's triggers are many, and entering a
    // page must not wait for a list nobody may look at.
    void FillPicker() const;

    const TTriggerList& triggers_;
    TTriggerForm& picker_;
    TPrompts& prompts_;
    TAttachedTriggerSetup setup_;
};
