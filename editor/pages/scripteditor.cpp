#include "scripteditor.h"

#include "descform.h"
#include "scriptfindbar.h"
#include "scripthighlighter.h"
#include "textcodec.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStringListModel>
#include <QTextBlock>
#include <QTimer>
#include <QToolTip>
#include <algorithm>

namespace {

// What Tab puts before a line and Shift+Tab takes away: the two blanks the
// builders' scripts indent by.
const QString& IndentUnit() {
    static const QString unit = QStringLiteral("  ");
    return unit;
}

constexpr int kCheckDelayMs = 400;
constexpr int kMarkerWidth = 14;
constexpr int kBarStep = 5;
constexpr int kAutoCompletePrefix = 3;

// The variables a script names: in %name% and %name.field%, and after the
// commands that set them.
QStringList ScriptVariables(const QString& text) {
    static const QRegularExpression used(QStringLiteral("%([A-Za-z_]\\w*)"));
    static const QRegularExpression set(
        QStringLiteral("^\\s*(?:set|eval|global|unset|context|makeuid|calcuid)\\s+([A-Za-z_]\\w*)"),
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    for (const QRegularExpression* pattern : {&used, &set})
        for (auto it = pattern->globalMatch(text); it.hasNext();)
            names << it.next().captured(1);
    names.removeDuplicates();
    return names;
}

// The word the cursor stands at the end of, where it starts in its line.
struct TWordAtCursor {
    QString Prefix;
    bool AfterPercent = false; // a variable being typed
    bool FirstWord = false;    // the line's command being typed
};

TWordAtCursor WordAtCursor(const QTextCursor& cursor) {
    const QString line = cursor.block().text();
    const int end = cursor.positionInBlock();
    int start = end;
    while (start > 0 && (line[start - 1].isLetterOrNumber() || line[start - 1] == QLatin1Char('_')))
        --start;
    TWordAtCursor word;
    word.Prefix = line.mid(start, end - start);
    word.AfterPercent = start > 0 && line[start - 1] == QLatin1Char('%');
    word.FirstWord = line.left(start).trimmed().isEmpty();
    return word;
}

} // namespace

// The strip left of the text: problem markers, line numbers, block bars.
class TScriptMargin : public QWidget {
public:
    explicit TScriptMargin(TScriptEditor* editor) : QWidget(editor), editor_(editor) {
        setObjectName(QStringLiteral("ScriptMargin"));
    }
    QSize sizeHint() const override { return {editor_->MarginWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { editor_->PaintMargin(event); }
    bool event(QEvent* event) override {
        if (event->type() != QEvent::ToolTip)
            return QWidget::event(event);
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = editor_->ProblemText(editor_->LineAt(help->pos().y()));
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }

private:
    TScriptEditor* editor_;
};

TScriptEditor::TScriptEditor(QWidget* parent)
    : QPlainTextEdit(parent), FindBar(new TScriptFindBar(this)), Completer(new QCompleter(this)),
      margin_(new TScriptMargin(this)), highlighter_(new TScriptHighlighter(document())),
      words_(new QStringListModel(this)), checkTimer_(new QTimer(this)) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    FindBar->installEventFilter(this);

    Completer->setModel(words_);
    Completer->setWidget(this);
    Completer->setCompletionMode(QCompleter::PopupCompletion);
    Completer->setCaseSensitivity(Qt::CaseInsensitive);
    Completer->setModelSorting(QCompleter::CaseInsensitivelySortedModel);
    connect(Completer, qOverload<const QString&>(&QCompleter::activated), this,
            &TScriptEditor::InsertCompletion);

    checkTimer_->setSingleShot(true);
    checkTimer_->setInterval(kCheckDelayMs);
    connect(checkTimer_, &QTimer::timeout, this, &TScriptEditor::CheckNow);
    connect(this, &QPlainTextEdit::textChanged, this, &TScriptEditor::TextChanged);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &TScriptEditor::ShowPartners);
    connect(this, &QPlainTextEdit::blockCountChanged, this, &TScriptEditor::UpdateMargins);
    connect(this, &QPlainTextEdit::updateRequest, this, &TScriptEditor::ScrollMargin);
    UpdateMargins();
}

void TScriptEditor::SetLanguage(const QStringList& commands, const QStringList& variables) {
    commands_ = commands;
    serverVariables_ = variables;
    highlighter_->SetCommands(commands);
}

void TScriptEditor::SetChecker(TChecker checker) {
    checker_ = std::move(checker);
}

void TScriptEditor::GoToLine(int line) {
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid())
        return; // the script has changed since it was checked
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    centerCursor();
    setFocus();
}

void TScriptEditor::CheckNow() {
    checkTimer_->stop();
    problems_ = checker_ ? checker_(ScriptLines()) : std::vector<TScriptProblem>{};
    margin_->update();
}

QString TScriptEditor::ProblemText(int line) const {
    QStringList messages;
    for (const TScriptProblem& problem : problems_)
        if (problem.Line == line)
            messages << FromCp1251(problem.Message);
    return messages.join(QLatin1Char('\n'));
}

const TScriptProblem* TScriptEditor::WorstProblem(int line) const {
    const TScriptProblem* worst = nullptr;
    for (const TScriptProblem& problem : problems_)
        if (problem.Line == line && (!worst || problem.Severity == TSeverity::Error))
            worst = &problem;
    return worst;
}

std::vector<std::string> TScriptEditor::ScriptLines() const {
    std::vector<std::string> lines;
    for (const QString& line : MemoText(this).split(QLatin1Char('\n')))
        lines.push_back(ToCp1251(line));
    return lines;
}

void TScriptEditor::TextChanged() {
    ReadBlocks();
    ShowPartners();
    checkTimer_->start();
}

// The nesting of each line from the paired block words: an opener deepens
// the lines after it (so an opener never closed shows to the end), a paired
// closer returns to its opener's depth, a closer that closes nothing does
// not move.
void TScriptEditor::ReadBlocks() {
    const std::vector<std::string> lines = ScriptLines();
    blocks_ = ScriptBlocks(lines);
    lines_.assign(lines.size(), TLineBlock{});
    int level = 0;
    int deepest = 0;
    size_t word = 0;
    for (size_t line = 0; line < lines.size(); ++line) {
        TLineBlock& shown = lines_[line];
        shown.Depth = level;
        for (; word < blocks_.size() && blocks_[word].Line <= int(line); ++word) {
            const TBlockWord& block = blocks_[word];
            shown.Role = block.Role;
            shown.Unpaired = block.Partner < 0;
            if (block.Role == TBlockRole::Open)
                ++level;
            else if (block.Role == TBlockRole::Close && !shown.Unpaired && level > 0)
                shown.Depth = --level;
        }
        deepest = std::max({deepest, shown.Depth, level});
    }
    if (deepest != maxDepth_) {
        maxDepth_ = deepest;
        UpdateMargins();
    }
    margin_->update();
}

// The block word under the cursor and the words of its block (the opener,
// its middles and its closer) get a background; a word that pairs with
// nothing gets a red one.
void TScriptEditor::ShowPartners() {
    QList<QTextEdit::ExtraSelection> marks;
    const QTextCursor cursor = textCursor();
    const int line = cursor.blockNumber();
    const auto here = std::find_if(blocks_.begin(), blocks_.end(),
                                   [line](const TBlockWord& word) { return word.Line == line; });
    const auto wordStart = [this](const TBlockWord& word) {
        const QString text = document()->findBlockByNumber(word.Line).text();
        return int(text.indexOf(QString::fromStdString(word.Word), 0, Qt::CaseInsensitive));
    };
    if (here != blocks_.end()) {
        const int start = wordStart(*here);
        const int column = cursor.positionInBlock();
        if (start >= 0 && column >= start && column <= start + int(here->Word.size())) {
            const int index = int(here - blocks_.begin());
            const int opener = here->Role == TBlockRole::Open ? index : here->Partner;
            std::vector<int> group;
            if (opener < 0) {
                group.push_back(index);
            } else {
                group.push_back(opener);
                for (int i = 0; i < int(blocks_.size()); ++i)
                    if (i != opener && blocks_[size_t(i)].Partner == opener)
                        group.push_back(i);
            }
            const bool whole = opener >= 0 && blocks_[size_t(opener)].Partner >= 0;
            for (const int i : group) {
                const TBlockWord& word = blocks_[size_t(i)];
                QTextEdit::ExtraSelection mark;
                mark.format.setBackground(whole ? QColor(255, 230, 120) : QColor(255, 170, 170));
                mark.cursor = QTextCursor(document()->findBlockByNumber(word.Line));
                mark.cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor,
                                         std::max(0, wordStart(word)));
                mark.cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor,
                                         int(word.Word.size()));
                marks << mark;
            }
        }
    }
    setExtraSelections(marks);
}

void TScriptEditor::paintEvent(QPaintEvent* event) {
    IndentVisibleLines();
    QPlainTextEdit::paintEvent(event);
}

void TScriptEditor::IndentVisibleLines() {
    const QFontMetricsF metrics(font());
    const qreal unit = metrics.horizontalAdvance(IndentUnit());
    const qreal left = document()->documentMargin();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        // The geometry lays the block out first when it is not.
        if (blockBoundingGeometry(block).translated(contentOffset()).top() > viewport()->height())
            break;
        const int line = block.blockNumber();
        if (line >= int(lines_.size()) || block.layout()->lineCount() == 0)
            continue;
        const TLineBlock& shown = lines_[size_t(line)];
        const int depth =
            shown.Role == TBlockRole::Middle ? std::max(0, shown.Depth - 1) : shown.Depth;
        const QString text = block.text();
        qsizetype typed = 0;
        while (typed < text.size() && text[typed].isSpace())
            ++typed;
        const qreal shift =
            std::max<qreal>(0, depth * unit - metrics.horizontalAdvance(text.left(typed)));
        QTextLine first = block.layout()->lineAt(0);
        if (!qFuzzyCompare(first.x() + 1, left + shift + 1))
            first.setPosition(QPointF(left + shift, first.y()));
    }
}

// ---- the margin ----

int TScriptEditor::MarginWidth() const {
    const int digits = int(QString::number(std::max(1, blockCount())).size());
    return kMarkerWidth + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits + 6 +
           (maxDepth_ + 1) * kBarStep + 4;
}

void TScriptEditor::UpdateMargins() {
    const int bottom = FindBar->isVisible() ? FindBar->sizeHint().height() : 0;
    setViewportMargins(MarginWidth(), 0, 0, bottom);
    const QRect text = viewport()->geometry();
    margin_->setGeometry(contentsRect().left(), text.top(), MarginWidth(), text.height());
    if (FindBar->isVisible())
        FindBar->setGeometry(contentsRect().left(), text.bottom() + 1,
                             text.right() + 1 - contentsRect().left(), bottom);
}

void TScriptEditor::ScrollMargin(const QRect& rect, int dy) {
    if (dy)
        margin_->scroll(0, dy);
    else
        margin_->update(0, rect.y(), margin_->width(), rect.height());
}

void TScriptEditor::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    UpdateMargins();
}

bool TScriptEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FindBar && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        UpdateMargins();
    return QPlainTextEdit::eventFilter(watched, event);
}

int TScriptEditor::LineAt(int y) const {
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
        if (box.top() > y)
            break;
        if (y < box.bottom())
            return block.blockNumber();
    }
    return -1;
}

void TScriptEditor::PaintMargin(QPaintEvent* event) {
    QPainter painter(margin_);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    const int numbersRight = margin_->width() - (maxDepth_ + 1) * kBarStep - 6;
    const QColor numberColour = palette().color(QPalette::PlaceholderText);
    painter.setRenderHint(QPainter::Antialiasing);
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
        if (box.top() > event->rect().bottom())
            break;
        if (!block.isVisible() || box.bottom() < event->rect().top())
            continue;
        const int line = block.blockNumber();
        const int top = qRound(box.top());
        const int height = qRound(box.height());
        if (const TScriptProblem* problem = WorstProblem(line)) {
            // An error is a red disc, a warning an amber triangle: told apart
            // by shape as well as colour.
            const QRectF mark(2, top + (height - 10) / 2.0, 10, 10);
            painter.setPen(Qt::NoPen);
            if (problem->Severity == TSeverity::Error) {
                painter.setBrush(QColor(210, 30, 30));
                painter.drawEllipse(mark);
            } else {
                painter.setBrush(QColor(230, 160, 0));
                painter.drawPolygon(QPolygonF{
                    {mark.center().x(), mark.top()}, mark.bottomRight(), mark.bottomLeft()});
            }
        }
        painter.setPen(numberColour);
        painter.drawText(QRect(kMarkerWidth, top, numbersRight - kMarkerWidth, height),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(line + 1));
        PaintBlockBars(painter, line, numbersRight + 4, top, height);
    }
}

// One vertical bar per enclosing block; an opener starts a bar of its own
// from its middle down, a closer ends its bar at its middle, a middle word
// gets a tick on its block's bar. Unpaired words are red.
void TScriptEditor::PaintBlockBars(QPainter& painter, int line, int left, int top,
                                   int height) const {
    if (line >= int(lines_.size()))
        return;
    const TLineBlock& shown = lines_[size_t(line)];
    const auto x = [left](int level) { return left + level * kBarStep + 2; };
    const int middle = top + height / 2;
    painter.setPen(QPen(QColor(120, 120, 180), 1));
    for (int level = 0; level < shown.Depth; ++level)
        painter.drawLine(x(level), top, x(level), top + height);
    painter.setPen(QPen(shown.Unpaired ? QColor(210, 30, 30) : QColor(60, 60, 160), 1));
    switch (shown.Role) {
    case TBlockRole::Open:
        painter.drawLine(x(shown.Depth), middle, x(shown.Depth), top + height);
        painter.drawLine(x(shown.Depth), middle, x(shown.Depth) + 3, middle);
        break;
    case TBlockRole::Close:
        if (!shown.Unpaired)
            painter.drawLine(x(shown.Depth), top, x(shown.Depth), middle);
        painter.drawLine(x(shown.Depth), middle, x(shown.Depth) + 3, middle);
        break;
    case TBlockRole::Middle:
        painter.drawLine(x(std::max(0, shown.Depth - 1)), middle,
                         x(std::max(0, shown.Depth - 1)) + 3, middle);
        break;
    case TBlockRole::None:
        break;
    }
}

// ---- keys ----

bool TScriptEditor::event(QEvent* event) {
    // The window's own Ctrl+F (find a record) waits while the script has the
    // keyboard: here it finds inside the script.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Find) ||
            (key->modifiers() == Qt::ControlModifier &&
             (key->key() == Qt::Key_H || key->key() == Qt::Key_Space))) {
            event->accept();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

void TScriptEditor::keyPressEvent(QKeyEvent* event) {
    if (HandleCompletionKey(event))
        return;
    const bool control = event->modifiers() == Qt::ControlModifier;
    if (event->matches(QKeySequence::Find) || (control && event->key() == Qt::Key_H)) {
        FindBar->Open(event->key() == Qt::Key_H);
        return;
    }
    if (event->key() == Qt::Key_Escape && FindBar->isVisible()) {
        FindBar->Close();
        return;
    }
    if (control && event->key() == Qt::Key_Space) {
        UpdateCompletion(true);
        return;
    }
    if (event->key() == Qt::Key_Backtab ||
        (event->key() == Qt::Key_Tab && event->modifiers() == Qt::ShiftModifier)) {
        ShiftLines(true);
        return;
    }
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::NoModifier) {
        if (textCursor().hasSelection())
            ShiftLines(false);
        else
            insertPlainText(IndentUnit());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
    const QString typed = event->text();
    if (!typed.isEmpty() && (typed[0].isLetterOrNumber() || typed[0] == QLatin1Char('_')))
        UpdateCompletion(false);
    else if (Completer->popup()->isVisible() && event->key() == Qt::Key_Backspace)
        UpdateCompletion(false);
    else
        Completer->popup()->hide();
}

// While the completion list is open, Enter and Tab take the entry the
// builder moved to; with none chosen they close the list and do what they
// always do, so typing on never swallows a line break.
bool TScriptEditor::HandleCompletionKey(QKeyEvent* event) {
    QAbstractItemView* popup = Completer->popup();
    if (!popup->isVisible())
        return false;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
        if (popup->currentIndex().isValid()) {
            event->ignore(); // the completer inserts the entry
            return true;
        }
        popup->hide();
        return false;
    case Qt::Key_Escape:
        popup->hide();
        return true;
    default:
        return false;
    }
}

void TScriptEditor::UpdateCompletion(bool asked) {
    const TWordAtCursor word = WordAtCursor(textCursor());
    QStringList candidates;
    if (word.AfterPercent) {
        // The word being typed is not a variable of the script yet.
        QString text = toPlainText();
        text.remove(textCursor().position() - int(word.Prefix.size()), word.Prefix.size());
        candidates = ScriptVariables(text) + serverVariables_;
    } else if (word.FirstWord) {
        candidates = commands_ + ScriptBlockWords();
    }
    QAbstractItemView* popup = Completer->popup();
    if (candidates.isEmpty() || (!asked && word.Prefix.size() < kAutoCompletePrefix)) {
        popup->hide();
        return;
    }
    candidates.removeDuplicates();
    std::sort(candidates.begin(), candidates.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    words_->setStringList(candidates);
    Completer->setCompletionPrefix(word.Prefix);
    const int count = Completer->completionCount();
    if (count == 0 ||
        (!asked && count == 1 &&
         Completer->currentCompletion().compare(word.Prefix, Qt::CaseInsensitive) == 0)) {
        popup->hide();
        return;
    }
    QRect at = cursorRect();
    at.setWidth(popup->sizeHintForColumn(0) + popup->verticalScrollBar()->sizeHint().width());
    Completer->complete(at);
}

void TScriptEditor::InsertCompletion(const QString& completion) {
    QTextCursor cursor = textCursor();
    cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor,
                        int(Completer->completionPrefix().size()));
    cursor.insertText(completion);
    setTextCursor(cursor);
}

void TScriptEditor::ShiftLines(bool unindent) {
    const QTextCursor selection = textCursor();
    const QTextBlock first = document()->findBlock(selection.selectionStart());
    QTextBlock last = document()->findBlock(selection.selectionEnd());
    // A selection that ends at the start of a line does not take that line.
    if (last != first && selection.selectionEnd() == last.position())
        last = last.previous();
    QTextCursor edit(document());
    edit.beginEditBlock();
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        edit.setPosition(block.position());
        if (!unindent) {
            edit.insertText(IndentUnit());
        } else {
            const QString text = block.text();
            int width = 0;
            if (text.startsWith(QLatin1Char('\t')))
                width = 1;
            else
                while (width < IndentUnit().size() && width < text.size() &&
                       text[width] == QLatin1Char(' '))
                    ++width;
            edit.setPosition(block.position() + width, QTextCursor::KeepAnchor);
            edit.removeSelectedText();
        }
        if (block == last)
            break;
    }
    edit.endEditBlock();
    if (selection.hasSelection()) {
        QTextCursor lines(document());
        lines.setPosition(first.position());
        lines.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
        setTextCursor(lines);
    }
}
