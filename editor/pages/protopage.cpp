#include "protopage.h"

#include "textcodec.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <charconv>

QSpinBox* NumberEdit(QWidget* parent, const char* name, int minimum, int maximum) {
    auto* edit = Named(new QSpinBox(parent), name);
    edit->setRange(minimum, maximum);
    edit->setAccelerated(true);
    return edit;
}

QComboBox* ListCombo(QWidget* parent, const char* name, int columns) {
    auto* combo = Named(new QComboBox(parent), name);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(columns);
    combo->setMaxVisibleItems(20);
    return combo;
}

QLabel* Caption(QWidget* parent, const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

int BuildNameFields(QWidget* parent, QGridLayout* grid, int row, const char* prefix,
                    TNameFields& fields) {
    const auto name = [prefix](const char* role) { return QByteArray(prefix) + role; };
    fields.Alias = Named(new QLineEdit(parent), name("AliasEdit").constData());
    grid->addWidget(Caption(parent, QStringLiteral("Aliases"), fields.Alias), row, 0);
    grid->addWidget(fields.Alias, row++, 1);

    fields.CDup =
        Named(new QPushButton(QStringLiteral("Именительный"), parent), name("CDupBtn").constData());
    fields.CDup->setAutoDefault(false);
    const std::array<const char*, 6> cases = {nullptr,       "Родительный",  "Дательный",
                                              "Винительный", "Творительный", "Предложный"};
    for (size_t i = 0; i < fields.Names.size(); ++i) {
        const QByteArray edit = name("Name") + QByteArray::number(static_cast<int>(i) + 1) + "Edit";
        fields.Names[i] = Named(new QLineEdit(parent), edit.constData());
        if (i == 0)
            grid->addWidget(fields.CDup, row, 0);
        else
            grid->addWidget(Caption(parent, QString::fromUtf8(cases[i]), fields.Names[i]), row, 0);
        grid->addWidget(fields.Names[i], row++, 1);
    }
    fields.Desc = Named(new QLineEdit(parent), name("DescEdit").constData());
    grid->addWidget(Caption(parent, QStringLiteral("Описание"), fields.Desc), row, 0);
    grid->addWidget(fields.Desc, row++, 1);
    return row;
}

void ShowLine(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    edit->setCursorPosition(0);
}

int32_t DecimalOr(std::string_view text, int32_t fallback) {
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && ptr == end && !text.empty() ? value : fallback;
}

QString FirstLine(const TStringList& lines) {
    return lines.empty() ? QString() : FromCp1251(lines.front());
}

void SetSelectedIdText(QComboBox* ids, const QString& name) {
    const int row = ids->currentIndex();
    if (row < 0)
        return;
    ids->setItemText(row,
                     QString::number(ids->itemData(row).toInt()) + QStringLiteral("  ") + name);
}
