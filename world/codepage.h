#pragma once

// Conversions between the Windows-1251 bytes the world files hold, UTF-8 (the
// source code, file names and terminal output) and KOI8-R (the server export).

#include <string>
#include <string_view>

// Every byte has a character, so this never loses anything.
std::string Cp1251ToUtf8(std::string_view cp1251);
// Characters that Windows-1251 cannot hold become '?'; `substituted` (when
// given) receives how many did.
std::string Utf8ToCp1251(std::string_view utf8, int* substituted = nullptr);
// Russian letters and ASCII map exactly; other characters without a KOI8-R
// place become '?', counted in `substituted` when given.
std::string Cp1251ToKoi8r(std::string_view cp1251, int* substituted = nullptr);
// Text read from the server: characters that Windows-1251 cannot hold (box
// drawing, maths signs) become '?', counted in `substituted` when given.
std::string Koi8rToCp1251(std::string_view koi8r, int* substituted = nullptr);

// Every KOI8-R byte has a character, so this never loses anything.
std::string Koi8rToUtf8(std::string_view koi8r);
// Characters that KOI8-R cannot hold become '?', counted in `substituted`
// when given.
std::string Utf8ToKoi8r(std::string_view utf8, int* substituted = nullptr);

// Unicode code point of a Windows-1251 byte.
char32_t Cp1251ToUnicode(unsigned char byte);
