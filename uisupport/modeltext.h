#pragma once

// Text typed into the pages on its way into the model.

#include <QString>
#include <string>

// The Windows-1251 bytes of `text`. Characters the code page cannot hold are
// replaced by '?' and the user is told once per call, so nothing typed is
// changed silently.
std::string ToModelText(const QString& text);

// A path of the file system (the zone's file names) to and from the text of an edit.
QString PathText(const std::string& path);
std::string PathFromText(const QString& text);
