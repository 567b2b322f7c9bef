#include "reportform.h"

#include "dialogparts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Error boxes break their lines with CR LF; the memo wants LF.
QString Plain(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

void AppendSection(QStringList& parts, const QString& heading, const QStringList& entries) {
    if (entries.isEmpty())
        return;
    parts << heading.arg(entries.size());
    for (const QString& entry : entries)
        parts << Plain(entry);
}

} // namespace

TReportForm::TReportForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReportForm"));
    setWindowTitle(QStringLiteral("Отчёт о загрузке"));

    HeadLabel = new QLabel(this);
    HeadLabel->setObjectName(QStringLiteral("HeadLabel"));
    ReportMemo = new QPlainTextEdit(this);
    ReportMemo->setObjectName(QStringLiteral("ReportMemo"));
    ReportMemo->setReadOnly(true);
    ReportMemo->setLineWrapMode(QPlainTextEdit::NoWrap);

    CopyBtn = MakeButton(this, "CopyBtn", QStringLiteral("&Копировать"));
    CloseBtn = MakeDefaultButton(this, "CloseBtn", QStringLiteral("&Закрыть"));
    connect(CopyBtn, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(Text()); });
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::accept);

    auto* column = new QVBoxLayout(this);
    column->addWidget(HeadLabel);
    column->addWidget(ReportMemo, 1);
    column->addLayout(ButtonRow({CopyBtn, CloseBtn}));
    resize(640, 420);
}

void TReportForm::SetReport(const QStringList& summary, const QStringList& failures,
                            const QStringList& notes) {
    HeadLabel->setText(failures.isEmpty()
                           ? QStringLiteral("Всё загружено.")
                           : QStringLiteral("Не всё загружено: ошибок %1.").arg(failures.size()));
    QStringList parts;
    if (!summary.isEmpty())
        parts << Plain(summary.join(QLatin1Char('\n')));
    AppendSection(parts, QStringLiteral("Ошибки (%1):"), failures);
    AppendSection(parts, QStringLiteral("Заметки (%1):"), notes);
    ReportMemo->setPlainText(parts.join(QStringLiteral("\n\n")));
}

QString TReportForm::Text() const {
    return ReportMemo->toPlainText();
}
