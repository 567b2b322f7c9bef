#include "textcodec.h"

#include "codepage.h"

QString FromCp1251(std::string_view bytes) {
    return QString::fromStdString(Cp1251ToUtf8(bytes));
}

std::string ToCp1251(const QString& text, int* substituted) {
    return Utf8ToCp1251(text.toStdString(), substituted);
}

QString WithoutColourCodes(const QString& text) {
    static const QString kColourLetters = QStringLiteral("nNrRgGyYbBmMcCwWkK");
    if (!text.contains(QLatin1Char('&')))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size() &&
            kColourLetters.contains(text[i + 1])) {
            ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

QString ListText(std::string_view bytes) {
    return WithoutColourCodes(FromCp1251(bytes));
}
