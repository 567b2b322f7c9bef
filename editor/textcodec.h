#pragma once

// The one place where the model's Windows-1251 bytes meet Qt's strings.

#include <QString>
#include <string>

QString FromCp1251(const std::string& bytes);
// Characters Windows-1251 cannot hold become '?'; `substituted` (when given)
// receives how many did, so the caller can tell the user.
std::string ToCp1251(const QString& text, int* substituted = nullptr);
