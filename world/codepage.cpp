#include "codepage.h"

#include <array>

namespace {

// Unicode of the bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F. The one
// unassigned byte, 0x98, maps to U+0098 so that it survives a round trip.
constexpr std::array<char16_t, 64> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

// KOI8-R letters in the order of the Windows-1251 letters а..я (0xE0..0xFF);
// the capitals are these plus 0x20.
constexpr std::array<unsigned char, 32> kKoiLower = {
    0xC1, 0xC2, 0xD7, 0xC7, 0xC4, 0xC5, 0xD6, 0xDA, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF, 0xD0,
    0xD2, 0xD3, 0xD4, 0xD5, 0xC6, 0xC8, 0xC3, 0xDE, 0xDB, 0xDD, 0xDF, 0xD9, 0xD8, 0xDC, 0xC0, 0xD1};

// Unicode of the KOI8-R bytes 0x80..0xFF: box drawing and maths signs, then
// the Russian letters in the order of the Latin ones they sound like.
constexpr std::array<char16_t, 128> kKoi8rHigh = {
    0x2500, 0x2502, 0x250C, 0x2510, 0x2514, 0x2518, 0x251C, 0x2524, 0x252C, 0x2534, 0x253C, 0x2580,
    0x2584, 0x2588, 0x258C, 0x2590, 0x2591, 0x2592, 0x2593, 0x2320, 0x25A0, 0x2219, 0x221A, 0x2248,
    0x2264, 0x2265, 0x00A0, 0x2321, 0x00B0, 0x00B2, 0x00B7, 0x00F7, 0x2550, 0x2551, 0x2552, 0x0451,
    0x2553, 0x2554, 0x2555, 0x2556, 0x2557, 0x2558, 0x2559, 0x255A, 0x255B, 0x255C, 0x255D, 0x255E,
    0x255F, 0x2560, 0x2561, 0x0401, 0x2562, 0x2563, 0x2564, 0x2565, 0x2566, 0x2567, 0x2568, 0x2569,
    0x256A, 0x256B, 0x256C, 0x00A9, 0x044E, 0x0430, 0x0431, 0x0446, 0x0434, 0x0435, 0x0444, 0x0433,
    0x0445, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x044F, 0x0440, 0x0441,
    0x0442, 0x0443, 0x0436, 0x0432, 0x044C, 0x044B, 0x0437, 0x0448, 0x044D, 0x0449, 0x0447, 0x044A,
    0x042E, 0x0410, 0x0411, 0x0426, 0x0414, 0x0415, 0x0424, 0x0413, 0x0425, 0x0418, 0x0419, 0x041A,
    0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x042F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0416, 0x0412,
    0x042C, 0x042B, 0x0417, 0x0428, 0x042D, 0x0429, 0x0427, 0x042A};

int UnicodeToCp1251(char32_t cp) {
    if (cp < 0x80)
        return static_cast<int>(cp);
    if (cp >= 0x0410 && cp <= 0x044F)
        return static_cast<int>(cp - 0x0410 + 0xC0);
    for (size_t i = 0; i < kHighHalf.size(); ++i)
        if (kHighHalf[i] == cp)
            return static_cast<int>(0x80 + i);
    return -1;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

char32_t Cp1251ToUnicode(unsigned char byte) {
    if (byte < 0x80)
        return byte;
    if (byte >= 0xC0)
        return 0x0410 + (byte - 0xC0);
    return kHighHalf[byte - 0x80];
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (char ch : cp1251)
        AppendUtf8(out, Cp1251ToUnicode(static_cast<unsigned char>(ch)));
    return out;
}

namespace {

// UTF-8 text through `byteOf` (a code point's byte, -1 where there is none):
// a character without a byte, or a broken sequence, becomes '?', counted in
// `substituted` when given.
template <class TByteOf>
std::string FromUtf8(std::string_view utf8, int* substituted, TByteOf byteOf) {
    std::string out;
    out.reserve(utf8.size());
    int lost = 0;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
        char32_t cp = extra == 0   ? lead
                      : extra == 1 ? (lead & 0x1F)
                      : extra == 2 ? (lead & 0x0F)
                                   : (lead & 0x07);
        bool valid = extra >= 0 && i + static_cast<size_t>(extra) < utf8.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        i += valid ? static_cast<size_t>(extra) + 1 : 1;
        const int byte = valid ? byteOf(cp) : -1;
        if (byte < 0) {
            out += '?';
            ++lost;
        } else {
            out += static_cast<char>(byte);
        }
    }
    if (substituted)
        *substituted = lost;
    return out;
}

int UnicodeToKoi8r(char32_t cp) {
    if (cp < 0x80)
        return static_cast<int>(cp);
    for (size_t i = 0; i < kKoi8rHigh.size(); ++i)
        if (kKoi8rHigh[i] == cp)
            return static_cast<int>(0x80 + i);
    return -1;
}

} // namespace

std::string Utf8ToCp1251(std::string_view utf8, int* substituted) {
    return FromUtf8(utf8, substituted, UnicodeToCp1251);
}

std::string Utf8ToKoi8r(std::string_view utf8, int* substituted) {
    return FromUtf8(utf8, substituted, UnicodeToKoi8r);
}

std::string Koi8rToUtf8(std::string_view koi8r) {
    std::string out;
    out.reserve(koi8r.size() * 2);
    for (const char ch : koi8r) {
        const auto byte = static_cast<unsigned char>(ch);
        AppendUtf8(out, byte < 0x80 ? byte : kKoi8rHigh[byte - 0x80]);
    }
    return out;
}

namespace {

// The KOI8-R byte of a Windows-1251 byte; -1 where KOI8-R has none.
int Koi8rOfCp1251(unsigned char byte) {
    if (byte < 0x80)
        return byte;
    if (byte >= 0xE0)
        return kKoiLower[byte - 0xE0];
    if (byte >= 0xC0)
        return kKoiLower[byte - 0xC0] + 0x20;
    switch (byte) {
    case 0xA8:
        return 0xB3; // Ё
    case 0xB8:
        return 0xA3; // ё
    case 0xA0:
        return 0x9A; // no-break space
    case 0xB0:
        return 0x9C; // degree sign
    case 0xB7:
        return 0x9E; // middle dot
    case 0xA9:
        return 0xBF; // copyright sign
    default:
        return -1;
    }
}

// Every byte through `map`; a byte it has no code for (-1) becomes '?',
// counted in `substituted` when given.
template <class TMap> std::string ConvertBytes(std::string_view text, int* substituted, TMap map) {
    std::string out;
    out.reserve(text.size());
    int lost = 0;
    for (char ch : text) {
        const int code = map(static_cast<unsigned char>(ch));
        out += code < 0 ? '?' : static_cast<char>(code);
        lost += code < 0 ? 1 : 0;
    }
    if (substituted)
        *substituted = lost;
    return out;
}

} // namespace

std::string Cp1251ToKoi8r(std::string_view cp1251, int* substituted) {
    return ConvertBytes(cp1251, substituted, Koi8rOfCp1251);
}

std::string Koi8rToCp1251(std::string_view koi8r, int* substituted) {
    return ConvertBytes(koi8r, substituted, [](unsigned char byte) {
        return byte < 0x80 ? byte : UnicodeToCp1251(kKoi8rHigh[byte - 0x80]);
    });
}
