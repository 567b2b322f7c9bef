#include "listfilter.h"

#include <QLineEdit>
#include <QSortFilterProxyModel>

QSortFilterProxyModel* NewListFilter(QLineEdit* edit, QObject* parent) {
    auto* filter = new QSortFilterProxyModel(parent);
    filter->setFilterCaseSensitivity(Qt::CaseInsensitive);
    edit->setPlaceholderText(QStringLiteral("Фильтр: номер или часть названия"));
    edit->setClearButtonEnabled(true);
    QObject::connect(edit, &QLineEdit::textChanged, filter,
                     &QSortFilterProxyModel::setFilterFixedString);
    return filter;
}
