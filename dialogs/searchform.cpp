#include "searchform.h"

#include "dialogparts.h"
#include "search.h"
#include "textcodec.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TSearchForm::TSearchForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SearchForm"));
    setWindowTitle(QStringLiteral("Поиск"));

    F_SearchEdit = new QLineEdit(this);
    F_SearchEdit->setObjectName(QStringLiteral("F_SearchEdit"));
    F_NumberRadio = new QRadioButton(QStringLiteral("По но&меру"), this);
    F_NumberRadio->setObjectName(QStringLiteral("F_NumberRadio"));
    F_TextRadio = new QRadioButton(QStringLiteral("По &тексту"), this);
    F_TextRadio->setObjectName(QStringLiteral("F_TextRadio"));
    F_NumberRadio->setChecked(true);
    F_FindBtn = MakeDefaultButton(this, "F_FindBtn", QStringLiteral("&Найти"));
    F_ResultsList = new TRecordTable("F_ResultsList",
                                     {QStringLiteral("Запись"), QStringLiteral("Строка")}, this);
    F_ResultsList->header()->resizeSection(0, 240);
    F_CountLabel = new QLabel(this);
    F_CountLabel->setObjectName(QStringLiteral("F_CountLabel"));
    F_UsesBtn = MakeButton(this, "F_UsesBtn", QStringLiteral("&Где используется"));
    F_CloseBtn = MakeButton(this, "F_CloseBtn", QStringLiteral("&Закрыть"));

    connect(F_FindBtn, &QPushButton::clicked, this, &TSearchForm::Find);
    connect(F_ResultsList, &TRecordTable::openRecord, this, &TSearchForm::openRecord);
    connect(F_UsesBtn, &QPushButton::clicked, this, [this] {
        if (const auto record = F_ResultsList->CurrentRecord())
            emit showUses(record->first, record->second);
    });
    connect(F_CloseBtn, &QPushButton::clicked, this, &QDialog::close);

    auto* row = new QHBoxLayout;
    row->addWidget(MakeBuddyLabel(this, "F_SearchLabel", QStringLiteral("&Искать:"), F_SearchEdit));
    row->addWidget(F_SearchEdit, 1);
    row->addWidget(F_FindBtn);
    auto* modes = new QHBoxLayout;
    modes->addWidget(F_NumberRadio);
    modes->addWidget(F_TextRadio);
    modes->addStretch();
    auto* column = new QVBoxLayout(this);
    column->addLayout(row);
    column->addLayout(modes);
    column->addWidget(F_ResultsList, 1);
    column->addWidget(F_CountLabel);
    column->addLayout(ButtonRow({F_UsesBtn, F_CloseBtn}));
    resize(720, 460);
}

void TSearchForm::Start() {
    show();
    raise();
    activateWindow();
    F_SearchEdit->setFocus();
    F_SearchEdit->selectAll();
}

void TSearchForm::Find() {
    const QString text = F_SearchEdit->text().trimmed();
    F_ResultsList->SetRows({});
    if (text.isEmpty()) {
        F_CountLabel->setText(QStringLiteral("Введите номер или текст."));
        return;
    }
    bool isNumber = false;
    const int32_t vnum = text.toInt(&isNumber);
    if (F_NumberRadio->isChecked() && isNumber) {
        FindNumber(vnum);
        return;
    }
    F_TextRadio->setChecked(true);
    FindText(text);
}

void TSearchForm::FindNumber(int32_t vnum) {
    const TWorldView world = source_.View();
    const std::vector<TFoundRecord> found = ::FindNumber(world, vnum);
    QList<QTreeWidgetItem*> rows;
    for (const TFoundRecord& record : found)
        rows.push_back(TRecordTable::Row({FromCp1251(record.Line), QString()},
                                         static_cast<int>(record.Kind), record.VNum));
    F_ResultsList->SetRows(rows);
    if (found.empty()) {
        F_CountLabel->setText(QStringLiteral("Записи с номером %1 нет.").arg(vnum));
        return;
    }
    // The builder chooses which of them to open: the main window stays where
    // he works until then.
    F_CountLabel->setText(QStringLiteral("Найдено: %1").arg(found.size()));
}

void TSearchForm::FindText(const QString& text) {
    const TWorldView world = source_.View();
    bool truncated = false;
    const std::vector<TFoundRecord> found =
        ::FindText(world, ToCp1251(text), kMaxResults, &truncated);
    QList<QTreeWidgetItem*> rows;
    for (const TFoundRecord& record : found)
        rows.push_back(TRecordTable::Row(
            {CaptionText(world, record.Kind, record.VNum), FromCp1251(record.Line).trimmed()},
            static_cast<int>(record.Kind), record.VNum));
    F_ResultsList->SetRows(rows);
    if (found.empty())
        F_CountLabel->setText(QStringLiteral("Ничего не найдено."));
    else if (truncated)
        F_CountLabel->setText(QStringLiteral("Показаны первые %1 строк.").arg(found.size()));
    else
        F_CountLabel->setText(QStringLiteral("Найдено строк: %1").arg(found.size()));
}
