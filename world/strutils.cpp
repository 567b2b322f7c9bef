#include "strutils.h"

#include <algorithm>
#include <cctype>

std::string DeleteChar(std::string_view s, char c) {
    std::string out;
    out.reserve(s.size());
    for (char ch : s)
        if (ch != c)
            out += ch;
    return out;
}

std::string DeleteSpaces(std::string_view s) {
    return DeleteChar(s, ' ');
}

std::string TrimLeadingSpaces(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(s.substr(first));
}

std::string CharString(char c, int n) {
    return n < 1 ? std::string() : std::string(static_cast<size_t>(n), c);
}

std::string PadRight(std::string_view s, int n, char c) {
    std::string out(s);
    if (n > 0 && out.size() < static_cast<size_t>(n))
        out.append(static_cast<size_t>(n) - out.size(), c);
    return out;
}

std::string PadRightSpaces(std::string_view s, int n) {
    return PadRight(s, n, ' ');
}

std::string HeadBefore(std::string_view s, char c) {
    return std::string(s.substr(0, s.find(c)));
}

std::string CutHead(std::string& s, char c) {
    const auto pos = s.find(c);
    std::string head = s.substr(0, pos);
    s = pos == std::string::npos ? std::string()
                                 : TrimLeadingSpaces(std::string_view(s).substr(pos));
    return head;
}

namespace {
// Start and length of the n-th word, or npos when there is none.
std::pair<size_t, size_t> FindWord(int n, std::string_view s, std::string_view separators) {
    size_t pos = 0;
    for (int count = 0; n > 0;) {
        pos = s.find_first_not_of(separators, pos);
        if (pos == std::string_view::npos)
            break;
        size_t end = s.find_first_of(separators, pos);
        if (end == std::string_view::npos)
            end = s.size();
        if (++count == n)
            return {pos, end - pos};
        pos = end;
    }
    return {std::string_view::npos, 0};
}
} // namespace

int WordPosition(int n, std::string_view s, std::string_view separators) {
    const auto [pos, len] = FindWord(n, s, separators);
    return pos == std::string_view::npos ? 0 : static_cast<int>(pos) + 1;
}

std::string ExtractWord(int n, std::string_view s, std::string_view separators) {
    const auto [pos, len] = FindWord(n, s, separators);
    return pos == std::string_view::npos ? std::string() : std::string(s.substr(pos, len));
}

std::string StripLineEnds(std::string_view s) {
    size_t end = s.size();
    while (end > 0 && (s[end - 1] == '\r' || s[end - 1] == '\n'))
        --end;
    return std::string(s.substr(0, end));
}

std::string PlaneZeroFlags(std::string_view s) {
    std::string out;
    out.reserve(s.size() * 2);
    for (char ch : s) {
        out += ch;
        out += '0';
    }
    return out;
}

bool StrToBool(std::string_view s) {
    std::string upper(s);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    return upper == "TRUE";
}

std::string BoolToStr(bool b) {
    return b ? "True" : "False";
}

bool StartsWith(std::string_view s, char c) {
    return !s.empty() && s.front() == c;
}
bool EndsWith(std::string_view s, char c) {
    return !s.empty() && s.back() == c;
}
