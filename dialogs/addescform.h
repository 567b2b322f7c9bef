#pragma once

// The extra description dialog: the keywords and the text of one extra
// description of an object.

#include "dialogparts.h"
#include "extradesc.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;

class TAddDescForm : public TOkDialog {
    Q_OBJECT

public:
    explicit TAddDescForm(QWidget* parent = nullptr);

    // The caller presets the fields (an empty TExtraDesc for a new one), shows
    // the dialog modally and, when Accepted(), takes ExtraDesc() back.
    void SetExtraDesc(const TExtraDesc& desc);
    TExtraDesc ExtraDesc() const;

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
};
