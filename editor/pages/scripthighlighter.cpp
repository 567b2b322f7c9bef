#include "scripthighlighter.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QRegularExpression>

namespace {

QTextCharFormat Format(const QColor& colour, bool bold = false, bool italic = false) {
    QTextCharFormat format;
    format.setForeground(colour);
    if (bold)
        format.setFontWeight(QFont::Bold);
    format.setFontItalic(italic);
    return format;
}

// The colour each code letter sets on the server's terminal: dark for the
// small letters, bright for the capitals, "n" back to normal.
const QHash<QChar, QColor>& CodeColours() {
    static const QHash<QChar, QColor> colours{
        {QLatin1Char('n'), QColor(192, 192, 192)}, {QLatin1Char('N'), QColor(192, 192, 192)},
        {QLatin1Char('k'), QColor(0, 0, 0)},       {QLatin1Char('K'), QColor(96, 96, 96)},
        {QLatin1Char('r'), QColor(128, 0, 0)},     {QLatin1Char('R'), QColor(255, 0, 0)},
        {QLatin1Char('g'), QColor(0, 128, 0)},     {QLatin1Char('G'), QColor(0, 255, 0)},
        {QLatin1Char('y'), QColor(128, 128, 0)},   {QLatin1Char('Y'), QColor(255, 255, 0)},
        {QLatin1Char('b'), QColor(0, 0, 128)},     {QLatin1Char('B'), QColor(0, 0, 255)},
        {QLatin1Char('m'), QColor(128, 0, 128)},   {QLatin1Char('M'), QColor(255, 0, 255)},
        {QLatin1Char('c'), QColor(0, 128, 128)},   {QLatin1Char('C'), QColor(0, 255, 255)},
        {QLatin1Char('w'), QColor(192, 192, 192)}, {QLatin1Char('W'), QColor(255, 255, 255)},
    };
    return colours;
}

} // namespace

const QStringList& ScriptBlockWords() {
    static const QStringList words{
        QStringLiteral("if"),      QStringLiteral("elseif"), QStringLiteral("else"),
        QStringLiteral("end"),     QStringLiteral("while"),  QStringLiteral("switch"),
        QStringLiteral("foreach"), QStringLiteral("done"),   QStringLiteral("case"),
        QStringLiteral("default"), QStringLiteral("break")};
    return words;
}

bool IsScriptBlockWord(const QString& word) {
    return ScriptBlockWords().contains(word, Qt::CaseInsensitive);
}

TScriptHighlighter::TScriptHighlighter(QTextDocument* document)
    : QSyntaxHighlighter(document), blockWord_(Format(QColor(0, 0, 160), true)),
      command_(Format(QColor(0, 110, 110), true)), variable_(Format(QColor(140, 0, 140))),
      field_(Format(QColor(140, 0, 140), false, true)), number_(Format(QColor(190, 90, 0))),
      comment_(Format(QColor(110, 110, 110), false, true)) {}

void TScriptHighlighter::SetCommands(const QStringList& commands) {
    QSet<QString> set(commands.begin(), commands.end());
    if (set == commands_)
        return;
    commands_ = std::move(set);
    rehighlight();
}

void TScriptHighlighter::highlightBlock(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && text[start].isSpace())
        ++start;
    if (start == text.size())
        return;
    if (text[start] == QLatin1Char('*')) {
        setFormat(int(start), int(text.size() - start), comment_);
        return;
    }
    ColourFirstWord(text, start);
    static const QRegularExpression number(QStringLiteral("(?<![\\w.])-?\\d+(?!\\w)"),
                                           QRegularExpression::UseUnicodePropertiesOption);
    ColourPattern(text, number, number_);
    ColourVariables(text);
    ColourCodes(text);
}

void TScriptHighlighter::ColourFirstWord(const QString& text, qsizetype start) {
    qsizetype end = start;
    while (end < text.size() && !text[end].isSpace())
        ++end;
    const QString word = text.mid(start, end - start);
    if (IsScriptBlockWord(word))
        setFormat(int(start), int(end - start), blockWord_);
    else if (commands_.contains(word))
        setFormat(int(start), int(end - start), command_);
}

void TScriptHighlighter::ColourPattern(const QString& text, const QRegularExpression& pattern,
                                       const QTextCharFormat& format) {
    for (auto it = pattern.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        setFormat(int(match.capturedStart()), int(match.capturedLength()), format);
    }
}

// "%actor.name%": the variable in one colour, its fields after the first dot
// in italics, so that a mistyped field stands out from the variable.
void TScriptHighlighter::ColourVariables(const QString& text) {
    static const QRegularExpression variable(QStringLiteral("%[^%\\s]+%"));
    for (auto it = variable.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const int start = int(match.capturedStart());
        const int length = int(match.capturedLength());
        setFormat(start, length, variable_);
        const int dot = int(text.indexOf(QLatin1Char('.'), start));
        if (dot > start && dot < start + length - 1)
            setFormat(dot, start + length - 1 - dot, field_);
    }
}

// A colour code is shown in the colour it sets, as a swatch behind its two
// characters, with a readable letter on it.
void TScriptHighlighter::ColourCodes(const QString& text) {
    const auto& colours = CodeColours();
    for (qsizetype i = text.indexOf(QLatin1Char('&')); i >= 0 && i + 1 < text.size();
         i = text.indexOf(QLatin1Char('&'), i + 1)) {
        const auto colour = colours.constFind(text[i + 1]);
        if (colour == colours.constEnd())
            continue;
        // White would vanish on the editor's white: its swatch is a shade
        // darker, still the lightest of them.
        const QColor swatch = colour->lightness() > 230 ? colour->darker(115) : *colour;
        QTextCharFormat format;
        format.setBackground(swatch);
        format.setForeground(swatch.lightness() > 140 ? Qt::black : Qt::white);
        format.setFontWeight(QFont::Bold);
        setFormat(int(i), 2, format);
        ++i;
    }
}
