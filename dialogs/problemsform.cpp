#include "problemsform.h"

#include "dialogparts.h"
#include "textcodec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TProblemsForm::TProblemsForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ProblemsForm"));
    setWindowTitle(QStringLiteral("Проблемы"));

    P_AllZonesCheckBox = new QCheckBox(QStringLiteral("&Вся рабочая область"), this);
    P_AllZonesCheckBox->setObjectName(QStringLiteral("P_AllZonesCheckBox"));
    P_SummaryLabel = new QLabel(this);
    P_SummaryLabel->setObjectName(QStringLiteral("P_SummaryLabel"));
    P_ProblemsList = new TRecordTable(
        "P_ProblemsList",
        {QStringLiteral("Важность"), QStringLiteral("Запись"), QStringLiteral("Сообщение")}, this);
    P_SeverityComboBox = new QComboBox(this);
    P_SeverityComboBox->setObjectName(QStringLiteral("P_SeverityComboBox"));
    P_SeverityComboBox->addItems({QStringLiteral("Все проблемы"), QStringLiteral("Только ошибки"),
                                  QStringLiteral("Только предупреждения")});
    P_CloseBtn = MakeButton(this, "P_CloseBtn", QStringLiteral("&Закрыть"));

    connect(P_AllZonesCheckBox, &QCheckBox::toggled, this, &TProblemsForm::Recheck);
    connect(P_SeverityComboBox, &QComboBox::currentIndexChanged, this, &TProblemsForm::Recheck);
    connect(P_ProblemsList, &TRecordTable::openRecord, this, &TProblemsForm::openRecord);
    connect(P_ProblemsList, &TRecordTable::openUnparsed, this, &TProblemsForm::openUnparsed);
    connect(P_ProblemsList, &TRecordTable::openScriptLine, this, &TProblemsForm::openScriptLine);
    connect(P_CloseBtn, &QPushButton::clicked, this, &QDialog::close);

    auto* column = new QVBoxLayout(this);
    auto* choices = new QHBoxLayout;
    choices->addWidget(P_AllZonesCheckBox);
    choices->addStretch(1);
    choices->addWidget(P_SeverityComboBox);
    column->addLayout(choices);
    column->addWidget(P_ProblemsList, 1);
    column->addWidget(P_SummaryLabel);
    column->addLayout(ButtonRow({P_CloseBtn}));
    resize(760, 420);
}

void TProblemsForm::Recheck() {
    if (!isVisible() || pending_)
        return; // checked when shown, or soon
    pending_ = true;
    QTimer::singleShot(0, this, &TProblemsForm::RecheckNow);
}

void TProblemsForm::RecheckNow() {
    pending_ = false;
    if (!isVisible())
        return;
    const TWorldView world = source_.View();
    std::optional<int32_t> zone;
    if (!P_AllZonesCheckBox->isChecked()) {
        zone = source_.CurrentZone ? source_.CurrentZone() : std::nullopt;
        if (!zone) {
            P_ProblemsList->SetRows({});
            P_SummaryLabel->setText(QStringLiteral("Зона не выбрана."));
            return;
        }
    }
    // The builder's place in a long list stays where it was.
    const int row = P_ProblemsList->currentIndex().row();
    int errors = 0;
    const std::vector<TProblem> problems = CheckWorld(world, zone, named_);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(problems.size()));
    // The filter's entries: all, errors, warnings.
    const int shown = P_SeverityComboBox->currentIndex();
    for (const TProblem& problem : problems) {
        const bool error = problem.Severity == TSeverity::Error;
        errors += error;
        if ((shown == 1 && !error) || (shown == 2 && error))
            continue;
        rows.push_back(TRecordTable::Row(
            {FromCp1251(SeverityName(problem.Severity)), FromCp1251(ProblemCaption(world, problem)),
             FromCp1251(problem.Message)},
            static_cast<int>(problem.Record), problem.VNum, problem.Unparsed,
            problem.Record == TRecordType::Trigger ? problem.Line : -1));
    }
    P_ProblemsList->SetRows(rows);
    if (row >= 0 && !rows.isEmpty())
        P_ProblemsList->setCurrentItem(
            P_ProblemsList->topLevelItem(std::min<int>(row, P_ProblemsList->RowCount() - 1)));
    const int warnings = static_cast<int>(problems.size()) - errors;
    P_SummaryLabel->setText(
        problems.empty()
            ? QStringLiteral("Проблем не найдено.")
            : QStringLiteral("Ошибок: %1, предупреждений: %2.").arg(errors).arg(warnings));
}

void TProblemsForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    RecheckNow();
}

void TProblemsForm::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    // A window hidden with the minimized main window comes back with it.
    if (!event->spontaneous())
        emit closed();
}
