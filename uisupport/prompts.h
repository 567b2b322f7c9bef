#pragma once

// Everything the editor asks the platform for that a test must be able to
// answer: message boxes, the open and save file dialogs, the folder dialog and
// the folder of the
// running program. The editor reaches them only through Prompts().

#include <QList>
#include <QString>
#include <QStringList>
#include <string>

class QWidget;

// One entry of a file dialog's filter: "Zone files" and "*.zon".
struct TFileFilter {
    QString Description;
    QString Pattern;
    bool operator==(const TFileFilter&) const = default;
};

// The pairs of a filter written as "Zone files|*.zon|All files|*.*". A
// description without its pattern is dropped.
QList<TFileFilter> ParseFileFilter(const QString& filter);

class TPrompts {
public:
    virtual ~TPrompts() = default;

    // An error box with a single OK button.
    virtual void Error(const QString& text) = 0;
    // An information box with a single OK button.
    virtual void Information(const QString& text) = 0;
    // A confirmation with Yes and No; true for Yes.
    virtual bool Confirm(const QString& text) = 0;
    // A question with buttons of its own (the one at `defaultAnswer` answers
    // Enter, the last answers Escape): the index of the button pressed.
    virtual int Choose(const QString& text, const QStringList& answers, int defaultAnswer) = 0;
    // The open-file and save-file dialogs: the chosen path, or empty when the
    // user cancels. `folder` and `fileName` seed the dialog; either may be empty.
    virtual QString OpenFile(const QString& folder, const QString& fileName,
                             const QList<TFileFilter>& filters) = 0;
    virtual QString SaveFile(const QString& folder, const QString& fileName,
                             const QList<TFileFilter>& filters) = 0;
    // The folder dialog with `caption`, starting in `folder` (may be empty):
    // the chosen folder, or empty when the user cancels.
    virtual QString ChooseFolder(const QString& caption, const QString& folder) = 0;
    // The folder of the running program with a trailing "/", in the file
    // system's own encoding (what the readers and writers open).
    virtual std::string ProgramFolder() = 0;
};

// The real boxes and dialogs, owned by the active window of the application.
class TQtPrompts : public TPrompts {
public:
    void Error(const QString& text) override;
    void Information(const QString& text) override;
    bool Confirm(const QString& text) override;
    int Choose(const QString& text, const QStringList& answers, int defaultAnswer) override;
    QString OpenFile(const QString& folder, const QString& fileName,
                     const QList<TFileFilter>& filters) override;
    QString SaveFile(const QString& folder, const QString& fileName,
                     const QList<TFileFilter>& filters) override;
    QString ChooseFolder(const QString& caption, const QString& folder) override;
    std::string ProgramFolder() override;
};

// The process-wide prompts: the one set with SetPrompts, else a TQtPrompts.
TPrompts& Prompts();
// Tests put their scripted prompts here; nullptr goes back to the real ones.
// The prompts stay owned by the caller.
void SetPrompts(TPrompts* prompts);
