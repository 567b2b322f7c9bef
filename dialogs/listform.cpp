#include "listform.h"

#include "prompts.h"
#include "textcodec.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QVBoxLayout>

TListForm::TListForm(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("ListForm"));
    setWindowTitle(QStringLiteral("Список"));

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSortingEnabled(true);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(ListBox1);

    const QFontMetrics metrics = fontMetrics();
    resize(metrics.horizontalAdvance(QLatin1Char('x')) * 36, metrics.height() * 24);

    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TListForm::ListBox1DblClick);
}

void TListForm::Fill(const std::vector<TListEntry>& entries) {
    // One sort at the end rather than one insertion search per entry.
    ListBox1->setSortingEnabled(false);
    ListBox1->clear();
    for (const TListEntry& entry : entries) {
        auto* item = new QListWidgetItem(FromCp1251(entry.Text), ListBox1);
        item->setData(Qt::UserRole, entry.VNum);
    }
    ListBox1->setSortingEnabled(true);
    ListBox1->sortItems();
}

void TListForm::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed(tag_);
}

void TListForm::ListBox1DblClick(QListWidgetItem* item) {
    if (!item)
        return;
    Prompts().Information(QStringLiteral("Вы выбрали элемент #%1 (%2)\r\n"
                                         "Позже отсюда можно будет просто перетаскивать нужные "
                                         "элементы")
                              .arg(item->data(Qt::UserRole).toInt())
                              .arg(item->text()));
}
