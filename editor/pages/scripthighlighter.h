#pragma once

// The colours of a trigger script: block words, the commands of the
// trigger's attach kind, %variables% and their .fields, numbers, comment
// lines and the server's colour codes. Formats only: the text is untouched.

#include <QSet>
#include <QStringList>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class QRegularExpression;

// Whether `word` (any case, as the server reads it) is one of the block
// words: if/elseif/else/end, while/switch/foreach/done, case/default/break.
bool IsScriptBlockWord(const QString& word);
// The block words in lower case, for completion.
const QStringList& ScriptBlockWords();

class TScriptHighlighter : public QSyntaxHighlighter {
public:
    explicit TScriptHighlighter(QTextDocument* document);

    // The commands a line may start with; none while the language table is
    // not loaded, and then no command is coloured.
    void SetCommands(const QStringList& commands);

protected:
    void highlightBlock(const QString& text) override;

private:
    void ColourFirstWord(const QString& text, qsizetype start);
    void ColourPattern(const QString& text, const QRegularExpression& pattern,
                       const QTextCharFormat& format);
    void ColourVariables(const QString& text);
    void ColourCodes(const QString& text);

    QSet<QString> commands_;
    QTextCharFormat blockWord_;
    QTextCharFormat command_;
    QTextCharFormat variable_;
    QTextCharFormat field_;
    QTextCharFormat number_;
    QTextCharFormat comment_;
};
