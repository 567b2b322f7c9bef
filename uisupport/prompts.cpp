#include "prompts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QStringList>

namespace {

TPrompts* current = nullptr;

QWidget* Owner() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

// Messages from the world files break their lines with CR LF.
QString BoxText(const QString& text) {
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return plain;
}

// A short message makes a narrow box, whose title the window system then cuts
// ("Подтве...дение"): the box is made wide enough for its title and the
// title bar's buttons.
void MakeRoomForTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) * 3 / 2 + 160;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

void ShowOkBox(QMessageBox::Icon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon, caption, BoxText(text), QMessageBox::NoButton, Owner());
    box.setTextFormat(Qt::PlainText);
    MakeRoomForTitle(box);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

// "Zone files (*.zon)"; the dialog wants the patterns of one entry apart by spaces.
QStringList NameFilters(const QList<TFileFilter>& filters) {
    QStringList names;
    for (const TFileFilter& f : filters) {
        QString pattern = f.Pattern;
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        names << f.Description + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return names;
}

QString RunFileDialog(QFileDialog::AcceptMode mode, const QString& caption, const QString& folder,
                      const QString& fileName, const QList<TFileFilter>& filters) {
    QFileDialog dialog(Owner(), caption);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    const QStringList names = NameFilters(filters);
    if (!names.isEmpty()) {
        dialog.setNameFilters(names);
        dialog.selectNameFilter(names.first());
    }
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

QList<TFileFilter> ParseFileFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QList<TFileFilter> pairs;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        pairs.append({parts[i], parts[i + 1]});
    return pairs;
}

void TQtPrompts::Error(const QString& text) {
    ShowOkBox(QMessageBox::Critical, QStringLiteral("Ошибка"), text);
}

void TQtPrompts::Information(const QString& text) {
    ShowOkBox(QMessageBox::Information, QStringLiteral("Информация"), text);
}

bool TQtPrompts::Confirm(const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Подтверждение"), BoxText(text),
                    QMessageBox::NoButton, Owner());
    box.setTextFormat(Qt::PlainText);
    MakeRoomForTitle(box);
    QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

int TQtPrompts::Choose(const QString& text, const QStringList& answers, int defaultAnswer) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Подтверждение"), BoxText(text),
                    QMessageBox::NoButton, Owner());
    box.setTextFormat(Qt::PlainText);
    MakeRoomForTitle(box);
    QList<QPushButton*> buttons;
    for (const QString& answer : answers)
        buttons << box.addButton(answer, QMessageBox::ActionRole);
    if (!buttons.isEmpty()) {
        box.setDefaultButton(buttons.value(defaultAnswer, buttons.front()));
        box.setEscapeButton(buttons.back());
    }
    box.exec();
    const int pressed = static_cast<int>(buttons.indexOf(box.clickedButton()));
    return pressed < 0 ? static_cast<int>(answers.size()) - 1 : pressed;
}

QString TQtPrompts::OpenFile(const QString& folder, const QString& fileName,
                             const QList<TFileFilter>& filters) {
    return RunFileDialog(QFileDialog::AcceptOpen, QStringLiteral("Открыть"), folder, fileName,
                         filters);
}

QString TQtPrompts::SaveFile(const QString& folder, const QString& fileName,
                             const QList<TFileFilter>& filters) {
    return RunFileDialog(QFileDialog::AcceptSave, QStringLiteral("Сохранить как"), folder, fileName,
                         filters);
}

QString TQtPrompts::ChooseFolder(const QString& caption, const QString& folder) {
    QFileDialog dialog(Owner(), caption);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

std::string TQtPrompts::ProgramFolder() {
    QString folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return QFile::encodeName(folder).toStdString();
}

TPrompts& Prompts() {
    if (current)
        return *current;
    static TQtPrompts real;
    return real;
}

void SetPrompts(TPrompts* prompts) {
    current = prompts;
}
