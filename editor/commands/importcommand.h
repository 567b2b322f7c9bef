#pragma once

// "Файлы" → "Импорт с сервера...": a server's world folder copied into the
// workspace (with a question before zones already there are overwritten and
// a progress dialog that can cancel), the workspace read again so that the
// zones appear, and a report of what was imported.

#include <QObject>
#include <QString>

class TEditorContext;

class TImportCommand : public QObject {
    Q_OBJECT

public:
    // Wires the menu entry.
    explicit TImportCommand(TEditorContext& main);

    void Run();

private:
    TEditorContext& main_;
    QString lastFolder_; // where the folder dialog starts the next time
};
