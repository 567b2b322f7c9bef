#include "modeltext.h"

#include "prompts.h"
#include "textcodec.h"

#include <QFile>

std::string ToModelText(const QString& text) {
    int substituted = 0;
    std::string bytes = ToCp1251(text, &substituted);
    if (substituted > 0)
        Prompts().Information(
            QStringLiteral("Символы, которых нет в кодировке Windows-1251, заменены знаком «?» "
                           "(%1 шт.):\n%2")
                .arg(substituted)
                .arg(text));
    return bytes;
}

QString PathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string PathFromText(const QString& text) {
    return QFile::encodeName(text).toStdString();
}
