#include "descform.h"

#include "prompts.h"
#include "textcodec.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTextDocument>
#include <QVBoxLayout>

QString MemoText(const QPlainTextEdit* memo) {
    QString text = memo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

QString LinesToMemoText(const TStringList& lines) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto& line : lines)
        texts.append(FromCp1251(line));
    return texts.join(QLatin1Char('\n'));
}

TStringList MemoTextToLines(const QString& text, int* substituted) {
    int lost = 0;
    TStringList lines;
    if (!text.isEmpty())
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            int lineLost = 0;
            lines.push_back(ToCp1251(line, &lineLost));
            lost += lineLost;
        }
    if (substituted)
        *substituted = lost;
    return lines;
}

int FirstTildeEndedLine(const QString& text) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].endsWith(QLatin1Char('~')))
            return static_cast<int>(i + 1);
    return 0;
}

bool AcceptableMemoText(const QString& text, const QString& otherFields) {
    if (const int line = FirstTildeEndedLine(text)) {
        Prompts().Error(QStringLiteral("Строка %1 описания заканчивается знаком \"~\": в файле "
                                       "мира этот знак закрывает описание.\r\n"
                                       "Уберите \"~\" в конце строки.")
                            .arg(line));
        return false;
    }
    int lost = 0;
    int otherLost = 0;
    ToCp1251(text, &lost);
    ToCp1251(otherFields, &otherLost);
    if (lost + otherLost > 0)
        Prompts().Information(QStringLiteral("Знаков, которых нет в кодировке Windows-1251: "
                                             "%1.\r\nОни будут сохранены как \"?\".")
                                  .arg(lost + otherLost));
    return true;
}

QPlainTextEdit* MakeMemo(QWidget* parent, const char* name, int columns, int rows) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QLatin1String(name));
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setTabChangesFocus(true);
    const QFontMetrics metrics = memo->fontMetrics();
    memo->setMinimumSize(metrics.averageCharWidth() * columns, metrics.lineSpacing() * rows);
    return memo;
}

TDescForm::TDescForm(QWidget* parent) : TOkDialog(parent) {
    setObjectName(QStringLiteral("DescForm"));
    setWindowTitle(QStringLiteral("Введите описание"));

    DescMemo = MakeMemo(this, "DescMemo", 80, 16);

    // Enter belongs to the memo: it starts a new line, it never closes the dialog.
    OkBtn = MakeButton(this, "OkBtn", QStringLiteral("Ok"));
    ClearBtn = MakeButton(this, "ClearBtn", QStringLiteral("Очистить"));
    CancelBtn = MakeButton(this, "CancelBtn", QStringLiteral("Отмена"));

    auto* column = new QVBoxLayout(this);
    column->addWidget(DescMemo, 1);
    column->addLayout(ButtonRow({OkBtn, ClearBtn, CancelBtn}));

    connect(OkBtn, &QPushButton::clicked, this, &TDescForm::OkBtnClick);
    connect(ClearBtn, &QPushButton::clicked, this, &TDescForm::ClearBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TDescForm::SetLines(const TStringList& lines) {
    DescMemo->setPlainText(LinesToMemoText(lines));
}

TStringList TDescForm::Lines() const {
    return MemoTextToLines(MemoText(DescMemo));
}

void TDescForm::showEvent(QShowEvent* event) {
    TOkDialog::showEvent(event);
    if (!event->spontaneous())
        DescMemo->setFocus();
}

void TDescForm::OkBtnClick() {
    if (!AcceptableMemoText(MemoText(DescMemo)))
        return;
    AcceptOk();
}

void TDescForm::ClearBtnClick() {
    DescMemo->clear();
    DescMemo->setFocus();
}
