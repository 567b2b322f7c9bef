#pragma once

// A trigger script edited as code: line numbers, the block structure and the
// problems of the checks in a margin, colours by TScriptHighlighter, the
// partner of the block word under the cursor marked, Tab and Shift+Tab
// shifting the selected lines, find and replace (Ctrl+F, Ctrl+H) and
// completion of commands and of the script's own variables (Ctrl+Space, or
// by itself after three letters). The text is exactly what the builder
// typed: the nesting is drawn in the margin, never inserted.

#include "scriptcheck.h"

#include <QPlainTextEdit>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

class QCompleter;
class QPainter;
class QStringListModel;
class QTimer;
class TScriptFindBar;
class TScriptHighlighter;
class TScriptMargin;

class TScriptEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TScriptEditor(QWidget* parent = nullptr);

    // The commands of the trigger's attach kind, coloured and completed,
    // and the variables the server gives it, completed after "%".
    void SetLanguage(const QStringList& commands, const QStringList& variables);

    // What finds the problems of the script, given its lines as
    // Windows-1251; run when typing pauses and by CheckNow.
    using TChecker = std::function<std::vector<TScriptProblem>(const std::vector<std::string>&)>;
    void SetChecker(TChecker checker);
    // Checks at once: another script shown, or what the checks depend on
    // (the attach kind, the trigger types) changed.
    void CheckNow();
    // Selects line `line` (from 0) in view and takes the focus: where a
    // problem the problems window lists stands.
    void GoToLine(int line);
    // The problems the margin shows, in line order.
    const std::vector<TScriptProblem>& Problems() const { return problems_; }
    // The messages of a line's problems, one a line, as the margin's tooltip
    // shows them; empty for a line without problems.
    QString ProblemText(int line) const;

    TScriptFindBar* FindBar;
    QCompleter* Completer;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class TScriptMargin;

    // How a line takes part in the blocks: its nesting depth and the role
    // of its block word, as the margin draws them.
    struct TLineBlock {
        int Depth = 0;
        TBlockRole Role = TBlockRole::None;
        bool Unpaired = false;
    };

    std::vector<std::string> ScriptLines() const;
    void TextChanged();
    void ReadBlocks();
    void ShowPartners();
    // Shows each visible line at least as deep as its block: a line typed
    // with less indentation than its depth is drawn further right. Only the
    // drawing moves (the laid-out line's position); the text keeps what was
    // typed.
    void IndentVisibleLines();

    int MarginWidth() const;
    void UpdateMargins();
    void ScrollMargin(const QRect& rect, int dy);
    void PaintMargin(QPaintEvent* event);
    void PaintBlockBars(QPainter& painter, int line, int left, int top, int height) const;
    // The script line at a height of the margin; -1 below the last.
    int LineAt(int y) const;
    const TScriptProblem* WorstProblem(int line) const;

    // Tab and Shift+Tab on the lines the selection touches.
    void ShiftLines(bool unindent);
    bool HandleCompletionKey(QKeyEvent* event);
    void UpdateCompletion(bool asked);
    void InsertCompletion(const QString& completion);

    TScriptMargin* margin_;
    TScriptHighlighter* highlighter_;
    QStringListModel* words_;
    QTimer* checkTimer_;
    TChecker checker_;
    QStringList commands_;
    QStringList serverVariables_;
    std::vector<TScriptProblem> problems_;
    std::vector<TBlockWord> blocks_;
    std::vector<TLineBlock> lines_;
    int maxDepth_ = 0;
};
