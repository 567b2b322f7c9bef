#include "addescform.h"

#include "descform.h"
#include "textcodec.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TAddDescForm::TAddDescForm(QWidget* parent) : TOkDialog(parent) {
    setObjectName(QStringLiteral("AddDescForm"));
    setWindowTitle(QStringLiteral("Дополнительное описание"));

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1 = MakeBuddyLabel(
        this, "Label1", QStringLiteral("Список алиасов во всех необходимых падежах (через пробел)"),
        Edit1);

    Memo1 = MakeMemo(this, "Memo1", 64, 10);
    Label2 = MakeBuddyLabel(this, "Label2", QStringLiteral("Описание для этого алиаса"), Memo1);

    // Enter in the memo starts a new line; it must not close the dialog.
    OkBtn = MakeButton(this, "OkBtn", QStringLiteral("&Ok"));
    CancelBtn = MakeButton(this, "CancelBtn", QStringLiteral("&Cancel"));

    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addWidget(Edit1);
    column->addSpacing(Label1->fontMetrics().height() / 2);
    column->addWidget(Label2);
    column->addWidget(Memo1, 1);
    column->addLayout(ButtonRow({OkBtn, CancelBtn}));

    connect(OkBtn, &QPushButton::clicked, this, &TAddDescForm::OkBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TAddDescForm::SetExtraDesc(const TExtraDesc& desc) {
    Edit1->setText(FromCp1251(desc.Keywords));
    Memo1->setPlainText(LinesToMemoText(desc.Description));
}

TExtraDesc TAddDescForm::ExtraDesc() const {
    TExtraDesc desc;
    desc.Keywords = ToCp1251(Edit1->text());
    desc.Description = MemoTextToLines(MemoText(Memo1));
    return desc;
}

void TAddDescForm::showEvent(QShowEvent* event) {
    TOkDialog::showEvent(event);
    if (!event->spontaneous())
        Edit1->setFocus();
}

void TAddDescForm::OkBtnClick() {
    // The keywords are a one-line field, closed by the last character of its
    // line whatever it is, so a "~" there is stored safely.
    if (!AcceptableMemoText(MemoText(Memo1), Edit1->text()))
        return;
    AcceptOk();
}
