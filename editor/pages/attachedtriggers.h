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
// shown.
struct TAttachedTriggerSetup {
    const char* List;
    const char* Add;
    const char* Edit;
    const char* Delete;
    QString Caption;
    std::function<bool()> RecordShown;
    QString NoRecord;
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

    const TTriggerList& triggers_;
    TTriggerForm& picker_;
    TPrompts& prompts_;
    TAttachedTriggerSetup setup_;
};
