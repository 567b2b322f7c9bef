#pragma once

// What the GUI tests do to the widgets: typing, clicking, answering a modal
// window, pictures of the windows, and a program folder of their own.

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
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

inline void Click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// Runs `answer` on the modal window that the next step opens, once it is up.
// `answer` should close the window; a modal window that never opens
// leaves `answer` unrun (the test's own checks then fail).
inline void WhenModal(std::function<void(QWidget* window)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (QWidget* window = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            const QPointer<QWidget> open(window);
            answer(window);
            // A check that failed inside `answer` returns early: the window
            // is closed here so that the test fails instead of hanging.
            if (open && open->isVisible())
                open->close();
        }
    });
    timer->start();
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

// A picture of the window for a person to look at: into the folder named by
// VELMORA_SCREENSHOTS, or /tmp/shots without it. False when it cannot be saved.
inline bool SaveShot(QWidget& window, const QString& name) {
    const QByteArray asked = qgetenv("VELMORA_SCREENSHOTS");
    const QDir folder(asked.isEmpty() ? QStringLiteral("/tmp/shots")
                                      : QString::fromLocal8Bit(asked));
    return folder.mkpath(QStringLiteral(".")) && window.grab().save(folder.filePath(name));
}

} // namespace guitest
