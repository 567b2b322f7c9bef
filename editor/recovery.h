#pragma once

// Copies of the unsaved zones in the recovery folder beside the workspace,
// so that a crash loses no applied edit: written after each step and every
// few minutes, offered back at the next start, removed by a save or a
// normal exit. The workspace files are never written here.

#include <QObject>
#include <string>
#include <vector>

class QTimer;
class TMainForm;
class TZone;

class TRecovery : public QObject {
    Q_OBJECT

public:
    explicit TRecovery(TMainForm& main);

    // The folder ("Recovery/" in the program folder), with a trailing "/".
    std::string Folder() const;
    // After the workspace scan: offers back what an earlier run left, then
    // keeps copies of the unsaved zones every `minutes`.
    void Start(int minutes);
    void SetInterval(int minutes);
    // The zone was saved: its copy goes.
    void Forget(const TZone& zone);
    // A normal exit: nothing is left to recover.
    void Clear();
    // Every unsaved zone's copy written now.
    void WriteAll();

private:
    std::string ZoneFolder(const TZone& zone) const;
    // The copy of one zone follows its state: written while unsaved, removed otherwise.
    void Follow(const std::vector<TZone*>& zones);
    void Write(const TZone& zone);
    // The zones of the workspace whose copies are newer than their files.
    std::vector<TZone*> LeftOver() const;
    void Offer();
    // Reads a zone's copy back into the zone, as one step.
    void Bring(TZone& zone);

    TMainForm& main_;
    QTimer* timer_;
};
