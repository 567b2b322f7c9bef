#include "scriptfindbar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* Button(QWidget* parent, const QString& text, const char* name) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setObjectName(QLatin1String(name));
    button->setAutoRaise(true);
    return button;
}

} // namespace

TScriptFindBar::TScriptFindBar(QPlainTextEdit* editor) : QWidget(editor), editor_(editor) {
    setObjectName(QStringLiteral("ScriptFindBar"));
    setAutoFillBackground(true);
    FindEdit = new QLineEdit(this);
    FindEdit->setObjectName(QStringLiteral("ScriptFindEdit"));
    FindEdit->setPlaceholderText(QStringLiteral("Найти"));
    ReplaceEdit = new QLineEdit(this);
    ReplaceEdit->setObjectName(QStringLiteral("ScriptReplaceEdit"));
    ReplaceEdit->setPlaceholderText(QStringLiteral("Заменить на"));
    status_ = new QLabel(this);

    auto* findRow = new QHBoxLayout;
    findRow->addWidget(FindEdit, 1);
    QToolButton* previous = Button(this, QStringLiteral("▲"), "ScriptFindPrevious");
    QToolButton* next = Button(this, QStringLiteral("▼"), "ScriptFindNext");
    QToolButton* close = Button(this, QStringLiteral("✕"), "ScriptFindClose");
    previous->setToolTip(QStringLiteral("Предыдущее"));
    next->setToolTip(QStringLiteral("Следующее (Enter)"));
    findRow->addWidget(previous);
    findRow->addWidget(next);
    findRow->addWidget(status_);
    findRow->addWidget(close);

    replaceRow_ = new QWidget(this);
    auto* replaceLayout = new QHBoxLayout(replaceRow_);
    replaceLayout->setContentsMargins(0, 0, 0, 0);
    replaceLayout->addWidget(ReplaceEdit, 1);
    QToolButton* one = Button(replaceRow_, QStringLiteral("Заменить"), "ScriptReplace");
    QToolButton* all = Button(replaceRow_, QStringLiteral("Заменить все"), "ScriptReplaceAll");
    replaceLayout->addWidget(one);
    replaceLayout->addWidget(all);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addLayout(findRow);
    layout->addWidget(replaceRow_);

    connect(FindEdit, &QLineEdit::returnPressed, this, [this] { FindNext(); });
    connect(ReplaceEdit, &QLineEdit::returnPressed, this, &TScriptFindBar::ReplaceOne);
    connect(previous, &QToolButton::clicked, this, [this] { FindNext(true); });
    connect(next, &QToolButton::clicked, this, [this] { FindNext(); });
    connect(one, &QToolButton::clicked, this, &TScriptFindBar::ReplaceOne);
    connect(all, &QToolButton::clicked, this, &TScriptFindBar::ReplaceAll);
    connect(close, &QToolButton::clicked, this, &TScriptFindBar::Close);
    hide();
}

void TScriptFindBar::Open(bool replacing) {
    const QString selected = editor_->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        FindEdit->setText(selected);
    replaceRow_->setVisible(replacing);
    status_->clear();
    show();
    FindEdit->setFocus();
    FindEdit->selectAll();
}

void TScriptFindBar::Close() {
    hide();
    editor_->setFocus();
}

bool TScriptFindBar::FindNext(bool backward) {
    const QString text = FindEdit->text();
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    QTextCursor found = editor_->document()->find(text, editor_->textCursor(), flags);
    if (found.isNull()) {
        QTextCursor wrap(editor_->document());
        if (backward)
            wrap.movePosition(QTextCursor::End);
        found = editor_->document()->find(text, wrap, flags);
    }
    if (found.isNull()) {
        status_->setText(QStringLiteral("нет"));
        return false;
    }
    status_->clear();
    editor_->setTextCursor(found);
    return true;
}

bool TScriptFindBar::SelectionIsFound() const {
    return !FindEdit->text().isEmpty() &&
           editor_->textCursor().selectedText().compare(FindEdit->text(), Qt::CaseInsensitive) == 0;
}

void TScriptFindBar::ReplaceOne() {
    if (SelectionIsFound())
        editor_->textCursor().insertText(ReplaceEdit->text());
    FindNext();
}

int TScriptFindBar::ReplaceAll() {
    const QString text = FindEdit->text();
    if (text.isEmpty())
        return 0;
    int count = 0;
    QTextCursor edit(editor_->document());
    edit.beginEditBlock();
    for (QTextCursor found = editor_->document()->find(text, 0); !found.isNull();
         found = editor_->document()->find(text, found)) {
        found.insertText(ReplaceEdit->text());
        ++count;
    }
    edit.endEditBlock();
    status_->setText(QStringLiteral("заменено: %1").arg(count));
    return count;
}

void TScriptFindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Close();
        return;
    }
    QWidget::keyPressEvent(event);
}
