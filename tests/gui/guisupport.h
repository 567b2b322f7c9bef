#pragma once

// What the GUI tests do to the widgets: typing, clicking, answering a modal
// window, and a program folder of their own.

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
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
// The window must be closed by `answer`; a modal window that never opens
// leaves `answer` unrun (the test's own checks then fail).
inline void WhenModal(std::function<void(QWidget* window)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (QWidget* window = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            answer(window);
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

} // namespace guitest
