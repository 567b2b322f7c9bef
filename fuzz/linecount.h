#pragma once

// How many lines a world reader can read from a file's bytes: up to a Ctrl-Z,
// CR LF, CR or LF each ending one, and a last line without its line end
// counting too. A failed read must name one of them or the one after the last;
// the fuzz targets and the bad-input tests both hold the readers to that.

#include <string>

inline int LineCount(const std::string& bytes) {
    const std::string text = bytes.substr(0, bytes.find('\x1A'));
    int lines = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        if (text[i] == '\r' || text[i] == '\n')
            ++lines;
    }
    if (!text.empty() && text.back() != '\r' && text.back() != '\n')
        ++lines;
    return lines;
}
