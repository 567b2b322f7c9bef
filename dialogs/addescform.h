#pragma once

// The extra description dialog: the keywords and the text of one extra
// description of an object.

#include "extradesc.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;

class TAddDescForm : public QDialog {
    Q_OBJECT

public:
    explicit TAddDescForm(QWidget* parent = nullptr);

    // The caller presets the fields (an empty TExtraDesc for a new one), shows
    // the dialog modally and, when Accepted(), takes ExtraDesc() back.
    void SetExtraDesc(const TExtraDesc& desc);
    TExtraDesc ExtraDesc() const;
    // Set only by "Ok"; cleared each time the dialog is shown.
    bool Accepted() const { return accepted_; }

    QLabel* Label1;
    QLineEdit* Edit1; // keywords, separated by spaces
    QLabel* Label2;
    QPlainTextEdit* Memo1; // the text
    QPushButton* OkBtn;
    QPushButton* CancelBtn;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OkBtnClick();

    bool accepted_ = false;
};
