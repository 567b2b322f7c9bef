#include "addescform.h"

#include "descform.h"
#include "textcodec.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TAddDescForm::TAddDescForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AddDescForm"));
    setWindowTitle(QStringLiteral("Дополнительное описание"));

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1 = new QLabel(QStringLiteral("Список алиасов во всех необходимых падежах (через пробел)"),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setBuddy(Edit1);

    Memo1 = MakeMemo(this, "Memo1", 64, 10);
    Label2 = new QLabel(QStringLiteral("Описание для этого алиаса"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setBuddy(Memo1);

    OkBtn = new QPushButton(QStringLiteral("&Ok"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    CancelBtn = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    // Enter in the memo starts a new line; it must not close the dialog.
    OkBtn->setAutoDefault(false);
    CancelBtn->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);

    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addWidget(Edit1);
    column->addSpacing(Label1->fontMetrics().height() / 2);
    column->addWidget(Label2);
    column->addWidget(Memo1, 1);
    column->addLayout(buttons);

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
    desc.Description = MemoTextToLines(Memo1->toPlainText());
    return desc;
}

void TAddDescForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    accepted_ = false;
    Edit1->setFocus();
}

void TAddDescForm::OkBtnClick() {
    // The keywords are a one-line field, closed by the last character of its
    // line whatever it is, so a "~" there is stored safely.
    if (!AcceptableMemoText(Memo1->toPlainText(), Edit1->text()))
        return;
    accepted_ = true;
    accept();
}
