#pragma once

// Copies of the unsaved zones in the recovery folder beside the workspace,
// so that a crash loses no applied edit: written after each step and every
// few minutes, offered back at the next start, removed by a save, by the
// builder declining them, or by a normal exit (only the copies this editor
// kept). The workspace files are never written here.

#include <QObject>
#include <set>
#include <string>
#include <vector>

class QTimer;
class TEditorContext;
class TZone;
struct TWorldChange;

class TRecovery : public QObject {
    Q_OBJECT

public:
    explicit TRecovery(TEditorContext& main);
    ~TRecovery() override;

    // The folder ("Recovery/" in the program folder), with a trailing "/".
    std::string Folder() const;
    // Takes the program folder's recovery for this editor. False, and the
    // builder told, when another running editor holds it: a second editor
    // would offer back, and then remove, the first one's live copies.
    bool Lock();
    bool Held() const { return held_; }
    // Once the main window is up: offers back what an earlier run left, then
    // keeps copies of the unsaved zones every `minutes`.
    void Start(int minutes);
    void SetInterval(int minutes);
    // The zone was saved: its copy goes.
    void Forget(const TZone& zone);
    // A normal exit: the copies this editor kept go (the builder chose not
    // to save their zones); whatever else lies in the folder stays.
    void Clear();
    // Every unsaved zone's copy written now.
    void WriteAll();

private:
    // A copy an earlier run left: of a workspace zone, or of a zone made
    // with "Новая" and never saved (no zone yet).
    struct TLeftCopy {
        int32_t Number;
        TZone* Zone;
        bool FilesNewer; // the zone's files changed after the copy was written
    };

    std::string ZoneFolder(int32_t number) const;
    // The copy of one zone follows its state: written while unsaved, removed otherwise.
    void Follow(const TWorldChange& change);
    void Write(const TZone& zone);
    void Remove(int32_t number);
    std::vector<TLeftCopy> LeftOver() const;
    void Offer();
    // Reads a zone's copy back into the zone (made first when it is new), as one step.
    void Bring(const TLeftCopy& copy);

    TEditorContext& main_;
    QTimer* timer_;
    int lock_ = -1; // the locked file while this editor holds the folder
    bool held_ = false;
    std::set<int32_t> kept_; // the zones whose copies this editor wrote
};
