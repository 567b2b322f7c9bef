#pragma once

// The one place where the model's Windows-1251 bytes meet Qt's strings.

#include <QString>
#include <string>
#include <string_view>

QString FromCp1251(std::string_view bytes);
// Characters Windows-1251 cannot hold become '?'; `substituted` (when given)
// receives how many did, so the caller can tell the user.
std::string ToCp1251(const QString& text, int* substituted = nullptr);

// A name as lists show it: the server's colour codes ("&W", "&n" and the
// other colour letters after "&") left out; the record keeps them.
QString WithoutColourCodes(const QString& text);
// FromCp1251, then WithoutColourCodes: the text of a list entry.
QString ListText(std::string_view bytes);
