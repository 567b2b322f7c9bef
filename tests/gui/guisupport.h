#pragma once

// What the GUI tests do to the widgets: typing, clicking, answering a modal
// window, pictures of the windows, and a program folder of their own.

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMimeData>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace guitest {

// Types text as key presses; unlike QTest::keyClicks it takes any character.
inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

// A drag entering `target` and dropped there at `pos` (Qt hands the drop
// only to the widget that accepted the drag's entry).
inline void SendDrop(QWidget* target, const QPoint& pos) {
    QMimeData data;
    QDragEnterEvent enter(pos, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(pos), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
}

inline void Click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// Runs `answer` on the modal window that the next step opens, once it is up.
// `answer` should close the window. A modal window that does not open within
// `limitMs` fails the test with a message instead of waiting on.
inline void WhenModal(std::function<void(QWidget* window)> answer, int limitMs = 20000) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto* waited = new QElapsedTimer;
    waited->start();
    QObject::connect(timer, &QTimer::destroyed, [waited] { delete waited; });
    QObject::connect(timer, &QTimer::timeout, [timer, waited, answer, limitMs] {
        QWidget* window = QApplication::activeModalWidget();
        if (!window) {
            if (waited->elapsed() > limitMs) {
                timer->stop();
                timer->deleteLater();
                QTest::qFail(
                    qPrintable(QStringLiteral("no modal window opened within %1 ms").arg(limitMs)),
                    __FILE__, __LINE__);
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        const QPointer<QWidget> open(window);
        answer(window);
        // A check that failed inside `answer` returns early: the window
        // is closed here so that the test fails instead of hanging.
        if (open && open->isVisible())
            open->close();
    });
    timer->start();
}

// Chooses an entry of a combo box as a builder does from the keyboard: the
// list opens, the entry is marked and Return takes it (the combo box then
// reports it as activated, even when it was the current one).
inline void ChooseComboEntry(QComboBox* combo, int row) {
    QVERIFY(row >= 0 && row < combo->count());
    combo->setFocus();
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    QTRY_VERIFY(list->isVisible());
    list->setCurrentIndex(combo->model()->index(row, combo->modelColumn()));
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_VERIFY(!list->isVisible());
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Only the test programs that are given a program folder know where it is.
#ifdef VELMORA_PROGRAM_DIR
// A copy of the laid-out program folder (data, settings and, when asked, the
// sample workspace) in `dir`; returns it with a trailing "/".
inline std::string CopyProgramFolder(const QString& dir, bool withWorkspace) {
    namespace fs = std::filesystem;
    const fs::path from(VELMORA_PROGRAM_DIR);
    const fs::path to(dir.toStdString());
    for (const char* part : {"Bases", "Help"})
        fs::copy(from / part, to / part, fs::copy_options::recursive);
    fs::copy(from / "VelmoraEd.ini", to / "VelmoraEd.ini");
    if (withWorkspace)
        fs::copy(from / "Zones", to / "Zones", fs::copy_options::recursive);
    else
        fs::create_directories(to / "Zones");
    return to.string() + "/";
}
#endif

// Types text that may hold line breaks: each "\n" as the Return key (a memo
// starts a new line), the rest as TypeText does.
inline void TypeLines(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c != QLatin1Char('\n')) {
            TypeText(widget, QString(c));
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

// Shows the dialog modally, as the pages do, and runs `user` inside it. A
// dialog the steps leave open is cancelled so that a failing step cannot hang
// the test.
inline void RunModal(QDialog& dialog, std::function<void()> user) {
    QTimer::singleShot(0, &dialog, [&dialog, user = std::move(user)] {
        user();
        if (dialog.isVisible())
            dialog.reject();
    });
    dialog.exec();
}

// Pictures of the windows for a person to look at are saved only when
// VELMORA_SCREENSHOTS names a folder.
inline bool ScreenshotsWanted() {
    return !qgetenv("VELMORA_SCREENSHOTS").isEmpty();
}

// Saves a picture into the VELMORA_SCREENSHOTS folder; true when none is
// wanted, false when it cannot be saved.
inline bool SaveShot(const QPixmap& picture, const QString& name) {
    if (!ScreenshotsWanted())
        return true;
    const QDir folder(QString::fromLocal8Bit(qgetenv("VELMORA_SCREENSHOTS")));
    return folder.mkpath(QStringLiteral(".")) && picture.save(folder.filePath(name));
}
inline bool SaveShot(QWidget& window, const QString& name) {
    return SaveShot(window.grab(), name);
}

// The first line of a test that only takes pictures.
#define SKIP_UNLESS_SCREENSHOTS()                                                                  \
    do {                                                                                           \
        if (!guitest::ScreenshotsWanted())                                                         \
            QSKIP("pictures are saved only when VELMORA_SCREENSHOTS names a folder");              \
    } while (false)

} // namespace guitest
