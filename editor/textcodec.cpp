#include "textcodec.h"

#include "codepage.h"

QString FromCp1251(const std::string& bytes) {
    return QString::fromStdString(Cp1251ToUtf8(bytes));
}

std::string ToCp1251(const QString& text, int* substituted) {
    return Utf8ToCp1251(text.toStdString(), substituted);
}
