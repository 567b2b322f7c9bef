#include "aboutform.h"

#include "dialogparts.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpacerItem>
#include <QUrl>
#include <QVBoxLayout>

TMailLabel::TMailLabel(const QString& address, const QString& subject, QWidget* parent)
    : QLabel(parent), address_(address), subject_(subject) {
    setObjectName(QStringLiteral("MailLabel"));
    // Drawn as a link, but the click is ours: QLabel's own link handling would
    // hand the address to the browser without the subject.
    setText(QStringLiteral("<a href=\"#\">%1</a>").arg(address_.toHtmlEscaped()));
    setTextInteractionFlags(Qt::NoTextInteraction);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("Написать авторам"));
}

QUrl TMailLabel::MailUrl() const {
    // Encoded by hand: a mail program reads the subject from the query as it stands.
    return QUrl(QStringLiteral("mailto:%1?subject=%2")
                    .arg(address_, QString::fromLatin1(QUrl::toPercentEncoding(subject_))),
                QUrl::StrictMode);
}

void TMailLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        QDesktopServices::openUrl(MailUrl());
}

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("О программе"));

    ProgramLabel = new QLabel(QStringLiteral("Velmora Editor"), this);
    ProgramLabel->setObjectName(QStringLiteral("ProgramLabel"));
    QFont big = ProgramLabel->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    ProgramLabel->setFont(big);
    ProgramLabel->setAlignment(Qt::AlignHCenter);

    VersionLabel = new QLabel(
        QStringLiteral("Версия %1\nРедактор мира MUD").arg(QLatin1String(kProgramVersion)), this);
    VersionLabel->setObjectName(QStringLiteral("VersionLabel"));
    VersionLabel->setAlignment(Qt::AlignHCenter);

    MailLabel = new TMailLabel(QLatin1String(kAuthorsMail), QStringLiteral("Velmora Editor"), this);
    MailLabel->setAlignment(Qt::AlignHCenter);

    OkBtn = MakeDefaultButton(this, "OkBtn", QStringLiteral("Ok"));
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkBtn);
    buttons->addStretch(1);

    auto* column = new QVBoxLayout(this);
    column->setSpacing(column->spacing() + 2);
    column->addWidget(ProgramLabel);
    column->addWidget(VersionLabel);
    column->addWidget(MailLabel);
    column->addLayout(buttons);
    // Wide enough that the window system shows the whole title.
    column->addItem(new QSpacerItem(fontMetrics().horizontalAdvance(windowTitle()) * 3 / 2 + 160, 0,
                                    QSizePolicy::Minimum, QSizePolicy::Fixed));
    column->setSizeConstraint(QLayout::SetFixedSize);
}
