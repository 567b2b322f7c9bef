#include "usesform.h"

#include "dialogparts.h"
#include "references.h"
#include "textcodec.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TUsesForm::TUsesForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("UsesForm"));
    setWindowTitle(QStringLiteral("Где используется"));
    U_RecordLabel = new QLabel(this);
    U_RecordLabel->setObjectName(QStringLiteral("U_RecordLabel"));
    U_UsesList =
        new TRecordTable("U_UsesList", {QStringLiteral("Запись"), QStringLiteral("Ссылка")}, this);
    U_UsesList->header()->resizeSection(0, 260);
    U_CloseBtn = MakeButton(this, "U_CloseBtn", QStringLiteral("&Закрыть"));
    connect(U_UsesList, &TRecordTable::openRecord, this, &TUsesForm::openRecord);
    connect(U_CloseBtn, &QPushButton::clicked, this, &QDialog::close);

    auto* column = new QVBoxLayout(this);
    column->addWidget(U_RecordLabel);
    column->addWidget(U_UsesList, 1);
    column->addLayout(ButtonRow({U_CloseBtn}));
    resize(620, 360);
}

void TUsesForm::ShowUses(int page, int32_t vnum) {
    const TWorldView world = source_.View();
    const auto type = static_cast<TRecordType>(page);
    const std::vector<TRecordUse> uses = FindUses(world, type, vnum);
    QList<QTreeWidgetItem*> rows;
    for (const TRecordUse& use : uses)
        rows.push_back(
            TRecordTable::Row({CaptionText(world, use.Kind, use.VNum), FromCp1251(use.What)},
                              static_cast<int>(use.Kind), use.VNum));
    U_UsesList->SetRows(rows);
    const QString caption = CaptionText(world, type, vnum);
    U_RecordLabel->setText(
        uses.empty() ? QStringLiteral("На запись «%1» ничего не ссылается.").arg(caption)
                     : QStringLiteral("Ссылки на запись «%1»: %2").arg(caption).arg(uses.size()));
    show();
    raise();
}
