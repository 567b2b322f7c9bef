#pragma once

// The About box: the program's name, its version and a link that writes to
// its authors.

#include <QDialog>
#include <QLabel>
#include <QString>

class QMouseEvent;
class QPushButton;

// A label that looks like a link and, when clicked, opens the user's mail
// program with a letter to `address` on `subject`.
class TMailLabel : public QLabel {
    Q_OBJECT

public:
    TMailLabel(const QString& address, const QString& subject, QWidget* parent = nullptr);

    // The mailto: link the click opens, with the subject percent-encoded.
    QUrl MailUrl() const;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString address_;
    QString subject_;
};

inline constexpr const char* kProgramVersion = "0.1"; // the project version in CMakeLists.txt
inline constexpr const char* kAuthorsMail = "editor@velmora.example";

class TAboutForm : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* parent = nullptr);

    QLabel* ProgramLabel;
    QLabel* VersionLabel;
    TMailLabel* MailLabel;
    QPushButton* OkBtn;
};
