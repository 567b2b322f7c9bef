#pragma once

// The filter box above a list of records: as the builder types, the list
// keeps the rows whose text holds what was typed (a number or part of a
// name, letter case ignored, Cyrillic too).

class QLineEdit;
class QObject;
class QSortFilterProxyModel;

// A filter over the rows of a source model set later, following `edit`.
QSortFilterProxyModel* NewListFilter(QLineEdit* edit, QObject* parent);
