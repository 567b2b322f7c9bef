#include "publishform.h"

#include "dialogparts.h"
#include "publish.h"
#include "textcodec.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QTreeWidgetItem* AddRow(QTreeWidget* tree, const QString& what, const QString& change) {
    return new QTreeWidgetItem(tree, {what, change});
}

void AddRecords(QTreeWidgetItem* file, const std::vector<std::string>& records,
                const QString& change) {
    for (const std::string& record : records)
        new QTreeWidgetItem(file, {FromCp1251(record), change});
}

} // namespace

TPublishForm::TPublishForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PublishForm"));
    setWindowTitle(QStringLiteral("Что изменится на сервере"));

    FolderLabel = new QLabel(this);
    FolderLabel->setObjectName(QStringLiteral("FolderLabel"));
    FolderLabel->setWordWrap(true);
    ChangeTree = new QTreeWidget(this);
    ChangeTree->setObjectName(QStringLiteral("ChangeTree"));
    ChangeTree->setColumnCount(2);
    ChangeTree->setHeaderLabels({QStringLiteral("Файл"), QStringLiteral("Изменение")});
    ChangeTree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    SummaryLabel = new QLabel(this);
    SummaryLabel->setObjectName(QStringLiteral("SummaryLabel"));
    SummaryLabel->setWordWrap(true);

    WriteBtn = MakeDefaultButton(this, "WriteBtn", QStringLiteral("&Записать"));
    CancelBtn = MakeButton(this, "CancelBtn", QStringLiteral("Отмена"));
    connect(WriteBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* column = new QVBoxLayout(this);
    column->addWidget(FolderLabel);
    column->addWidget(ChangeTree, 1);
    column->addWidget(SummaryLabel);
    column->addLayout(ButtonRow({WriteBtn, CancelBtn}));
    resize(720, 460);
}

void TPublishForm::ShowPlan(const TPublishPlan& plan, const QString& folder) {
    FolderLabel->setText(QStringLiteral("Папка мира сервера: %1").arg(folder));
    ChangeTree->clear();
    for (const TServerFile& file : plan.Files) {
        QString change = FromCp1251(ChangeName(file.Change));
        if (!file.Reason.empty())
            change += QStringLiteral(": ") + FromCp1251(file.Reason);
        QTreeWidgetItem* row = AddRow(ChangeTree, FromCp1251(ServerFileLabel(file)), change);
        AddRecords(row, file.Added, QStringLiteral("запись добавлена"));
        AddRecords(row, file.Removed, QStringLiteral("запись удалена"));
        AddRecords(row, file.Altered, QStringLiteral("запись изменена"));
        row->setExpanded(true);
    }
    for (size_t kind = 0; kind < plan.Indexes.size(); ++kind) {
        const TIndexEdit& index = plan.Indexes[kind];
        if (!index.Changes())
            continue;
        QStringList names;
        for (const std::string& name : index.Added)
            names << FromCp1251(name);
        AddRow(ChangeTree,
               QString::fromLatin1(kServerKinds[kind].ServerFolder) + QStringLiteral("/index"),
               (index.Exists ? QStringLiteral("Добавлены: ") : QStringLiteral("Новый, с: ")) +
                   names.join(QStringLiteral(", ")));
    }
    for (const std::string& refusal : plan.Refusals)
        AddRow(ChangeTree, QStringLiteral("Отказано"), FromCp1251(refusal));
    SummaryLabel->setText(QStringLiteral("Новых файлов: %1, изменённых: %2, без изменений: %3, "
                                         "не будут записаны: %4.")
                              .arg(plan.Count(TServerFileChange::New))
                              .arg(plan.Count(TServerFileChange::Changed))
                              .arg(plan.Count(TServerFileChange::Unchanged))
                              .arg(plan.Count(TServerFileChange::NotWritten)));
}
