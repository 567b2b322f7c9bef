#pragma once

// What the object and mob pages share: both edit a prototype with an alias,
// six case names and a room description, keep their ID list's captions in
// step with the nominative, and refresh their list window on store.

#include "worldfile.h"

#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QWidget;

template <class W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A spin edit of the given range. Its value is what the record gets, so the
// range is that of the record field unless the page limits it further.
QSpinBox* NumberEdit(QWidget* parent, const char* name, int minimum, int maximum);
// A combo box that keeps its width whatever its items' lengths.
QComboBox* ListCombo(QWidget* parent, const char* name, int columns);
// A label that focuses its buddy on its mnemonic.
QLabel* Caption(QWidget* parent, const QString& text, QWidget* buddy = nullptr);

// The keyword and name fields at the top of both pages.
struct TNameFields {
    QLineEdit* Alias = nullptr;
    QPushButton* CDup = nullptr;
    std::array<QLineEdit*, 6> Names{}; // nominative .. prepositional
    QLineEdit* Desc = nullptr;
};
// Builds them with the names <prefix>AliasEdit, <prefix>CDupBtn,
// <prefix>Name1Edit .. <prefix>Name6Edit and <prefix>DescEdit, laid out in
// rows of `grid` from `row` on; returns the next free row.
int BuildNameFields(QWidget* parent, QGridLayout* grid, int row, const char* prefix,
                    TNameFields& fields);

// Shows a one-line text from its start (a long text would show its tail).
void ShowLine(QLineEdit* edit, const QString& text);

// A decimal integer in the model's text, `fallback` when it is none.
int32_t DecimalOr(std::string_view text, int32_t fallback);
// The first line of a text, empty when it has none.
QString FirstLine(const TStringList& lines);

// The selected ID list entry shows "<number>  <name>".
void SetSelectedIdText(QComboBox* ids, const QString& name);

// Set while a page fills its controls, so that the change signals this
// raises do not count as edits.
class TShowing {
public:
    explicit TShowing(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~TShowing() { flag_ = previous_; }
    TShowing(const TShowing&) = delete;
    TShowing& operator=(const TShowing&) = delete;

private:
    bool& flag_;
    bool previous_;
};
