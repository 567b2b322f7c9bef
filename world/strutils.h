#pragma once

// Small string utilities shared by the readers, the reference lists and some
// edit fields. Text is kept as the Windows-1251 bytes of the files, so every
// routine works on bytes. Positions are 1-based, as the callers count them.

#include <string>
#include <string_view>

std::string DeleteChar(std::string_view s, char c);
std::string DeleteSpaces(std::string_view s);
// Only the space character counts; tabs stay.
std::string TrimLeadingSpaces(std::string_view s);
std::string CharString(char c, int n);
std::string PadRight(std::string_view s, int n, char c);
std::string PadRightSpaces(std::string_view s, int n);
std::string HeadBefore(std::string_view s, char c);
// Returns the part of s before the first c and leaves in s the rest, starting
// at the separator itself, with leading spaces removed.
std::string CutHead(std::string& s, char c);
// Words are maximal runs of characters not in `separators`.
int WordPosition(int n, std::string_view s, std::string_view separators);
std::string ExtractWord(int n, std::string_view s, std::string_view separators);

// The text without any trailing run of CR and LF characters.
std::string StripLineEnds(std::string_view s);
// "abc" becomes "a0b0c0": older one-letter flag strings to letter-and-plane codes.
std::string PlaneZeroFlags(std::string_view s);
bool StrToBool(std::string_view s);
std::string BoolToStr(bool b);

bool StartsWith(std::string_view s, char c);
bool EndsWith(std::string_view s, char c);
