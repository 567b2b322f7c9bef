#include "toolsform.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kImageSize = 16;

// The two images no style offers: copy (two sheets) and several rooms (a
// block of cells). Drawn at 16 x 16 in the palette's text colour so they sit
// with the style's own icons; the disabled form is drawn in the disabled text
// colour, as the style greys its own.
QPixmap DrawnImage(int image, const QColor& ink, const QColor& paper) {
    QPixmap pixmap(kImageSize, kImageSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(ink, 1));
    painter.setBrush(paper);
    if (image == 5) {
        painter.drawRect(1, 1, 8, 10);
        painter.drawRect(6, 4, 8, 10);
        for (int y = 7; y <= 11; y += 2)
            painter.drawLine(8, y, 12, y);
    } else {
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 2; ++col)
                painter.drawRect(1 + col * 7, 1 + row * 7, 6, 6);
    }
    return pixmap;
}

QIcon DrawnIcon(int image, const QPalette& palette) {
    QIcon icon;
    icon.addPixmap(DrawnImage(image, palette.color(QPalette::WindowText), Qt::white),
                   QIcon::Normal);
    icon.addPixmap(DrawnImage(image, palette.color(QPalette::Disabled, QPalette::WindowText),
                              palette.color(QPalette::Window)),
                   QIcon::Disabled);
    return icon;
}

QIcon ToolImage(const QStyle* style, int image, const QPalette& palette) {
    switch (image) {
    case 0:
        return style->standardIcon(QStyle::SP_ArrowLeft);
    case 1:
        return style->standardIcon(QStyle::SP_ArrowRight);
    case 2:
        return style->standardIcon(QStyle::SP_FileIcon);
    case 3:
        return style->standardIcon(QStyle::SP_DialogApplyButton);
    case 4:
        return style->standardIcon(QStyle::SP_DialogCancelButton);
    case 6:
        return style->standardIcon(QStyle::SP_TrashIcon);
    case 8:
        return style->standardIcon(QStyle::SP_DialogSaveButton);
    default:
        return DrawnIcon(image, palette);
    }
}

} // namespace

TToolsForm::TToolsForm(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("ToolsForm"));
    setWindowTitle(QStringLiteral("Tools"));

    for (int i = 0; i < 9; ++i) {
        QIcon icon = ToolImage(style(), i, palette());
        // A style without one of the images still gets a button one can see.
        ImageList1.append(icon.isNull() ? DrawnIcon(i, palette()) : icon);
    }

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(kImageSize, kImageSize));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);

    PrevBtn = AddButton("PrevBtn", QStringLiteral("Предыдущий"), 0, &TToolsForm::prevClicked);
    NextBtn = AddButton("NextBtn", QStringLiteral("Следующий"), 1, &TToolsForm::nextClicked);
    ToolBar1->addSeparator();
    NewBtn = AddButton("NewBtn", QStringLiteral("Новый"), 2, &TToolsForm::newClicked);
    ApplyBtn = AddButton("ApplyBtn", QStringLiteral("Присвоить"), 3, &TToolsForm::applyClicked);
    CancelBtn = AddButton("CancelBtn", QStringLiteral("Отменить"), 4, &TToolsForm::cancelClicked);
    CopyBtn = AddButton("CopyBtn", QStringLiteral("Копировать"), 5, &TToolsForm::copyClicked);
    DeleteBtn = AddButton("DeleteBtn", QStringLiteral("Удалить"), 6, &TToolsForm::deleteClicked);
    ToolBar1->addSeparator();
    MultiBtn = AddButton("MultiBtn", QStringLiteral("Создать несколько комнат"), 7, nullptr);
    multiAction_ = ToolBar1->actions().constLast();
    multiAction_->setVisible(false);
    SaveZoneBtn =
        AddButton("SaveZoneBtn", QStringLiteral("Сохранить зону"), 8, &TToolsForm::saveZoneClicked);

    // Nothing is changed before the first record is shown.
    ApplyBtn->setEnabled(false);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(ToolBar1);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

QToolButton* TToolsForm::AddButton(const char* name, const QString& hint, int image,
                                   void (TToolsForm::*clicked)()) {
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setIcon(ImageList1[image]);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    ToolBar1->addWidget(button);
    if (clicked)
        connect(button, &QToolButton::clicked, this, clicked);
    return button;
}

void TToolsForm::SetApplyEnabled(bool enabled) {
    ApplyBtn->setEnabled(enabled);
}

void TToolsForm::SetRecordButtonsEnabled(bool enabled) {
    for (QToolButton* button : {PrevBtn, NextBtn, CancelBtn, CopyBtn, DeleteBtn})
        button->setEnabled(enabled);
}

void TToolsForm::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}
