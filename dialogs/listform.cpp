#include "listform.h"

#include "prompts.h"

#include "listfilter.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QListView>
#include <QSortFilterProxyModel>
#include <QVBoxLayout>

TListForm::TListForm(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("ListForm"));
    setWindowTitle(QStringLiteral("Список"));

    FilterEdit = new QLineEdit(this);
    FilterEdit->setObjectName(QStringLiteral("FilterEdit"));
    filter_ = NewListFilter(FilterEdit, this);
    ListBox1 = new QListView(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Rows of one height: a view over 100,000 records lays out at once.
    ListBox1->setUniformItemSizes(true);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(FilterEdit);
    column->addWidget(ListBox1);

    const QFontMetrics metrics = fontMetrics();
    resize(metrics.horizontalAdvance(QLatin1Char('x')) * 36, metrics.height() * 24);

    connect(ListBox1, &QListView::doubleClicked, this, &TListForm::ListBox1DblClick);
}

void TListForm::SetModel(QAbstractItemModel* model) {
    filter_->setSourceModel(model);
    ListBox1->setModel(filter_);
}

void TListForm::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed(tag_);
}

void TListForm::ListBox1DblClick(const QModelIndex& index) {
    if (!index.isValid())
        return;
    Prompts().Information(QStringLiteral("Вы выбрали элемент #%1 (%2)\r\n"
                                         "Позже отсюда можно будет просто перетаскивать нужные "
                                         "элементы")
                              .arg(index.data(Qt::UserRole).toInt())
                              .arg(index.data().toString()));
}
