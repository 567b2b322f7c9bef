#include "shop.h"

#include "recordkinds.h"
#include "strutils.h"

#include <charconv>
#include <system_error>

namespace {

// The number of a shop header "#1200 E~" or "#1200~": the run of digits after
// the "#" (a minus sign may lead it). `extended` tells whether anything but "~"
// follows the run. A header without digits is a conversion failure.
int32_t ShopHeader(const std::string& line, bool& extended) {
    size_t end = 1;
    if (end < line.size() && line[end] == '-')
        ++end;
    const size_t digits = end;
    while (end < line.size() && line[end] >= '0' && line[end] <= '9')
        ++end;
    if (end == digits)
        throw TLoadFailure{};
    extended = !(end < line.size() && line[end] == '~');
    return ToInt32(std::string_view(line).substr(1, end - 1));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A price factor line: a decimal real number (sign, digits, a point or a
// comma and more digits, an exponent), spaces around it allowed. Anything
// else, or a value beyond the range of double, gives 0 without stopping the
// load. Independent of the process locale.
double ParseFactor(std::string_view line) {
    while (!line.empty() && line.front() == ' ')
        line.remove_prefix(1);
    while (!line.empty() && line.back() == ' ')
        line.remove_suffix(1);
    std::string text(line);
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    size_t mantissa = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        ++mantissa;
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        text[i] = '.';
        for (++i; i < text.size() && IsDigit(text[i]); ++i)
            ++mantissa;
    }
    if (mantissa == 0)
        return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
        size_t exponent = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i)
            ++exponent;
        if (exponent == 0)
            return 0.0;
    }
    if (i != text.size())
        return 0.0;
    // from_chars does not take a leading "+".
    const char* first = text.data() + (text[0] == '+' ? 1 : 0);
    double value = 0.0;
    const auto result = std::from_chars(first, text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return 0.0;
    return value;
}

// Fixed-point with exactly two decimals after a point, whatever the locale:
// 1.25 -> "1.25", 0.5 -> "0.50".
std::string FactorText(double value) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    if (result.ec != std::errc())
        return "0.00";
    return std::string(buffer, result.ptr);
}

// A buy or exchange list: lines up to "-1", a line ending in "~" being a
// keyword entry, any other a kind code named through `kindName`.
void ReadGoodsTypes(TWorldReader& reader, std::vector<TGoodsType>& out,
                    const TKindNameLookup& kindName) {
    out.clear();
    for (std::string line = reader.ReadLine(); line != "-1"; line = reader.ReadLine()) {
        if (EndsWith(line, '~')) {
            out.push_back({DropLast(line), -1});
            continue;
        }
        const int32_t code = ToInt32(line);
        std::string name = kindName ? kindName(code) : std::string();
        if (name.empty())
            name = std::to_string(code);
        out.push_back({std::move(name), code});
    }
}

// A list of numbers up to "-1"; each line is a whole decimal number.
void ReadNumbers(TWorldReader& reader, std::vector<int32_t>& out) {
    out.clear();
    for (std::string line = reader.ReadLine(); line != "-1"; line = reader.ReadLine())
        out.push_back(ToInt32(line));
}

void ReadShop(TWorldReader& reader, TShop& shop, bool extended, const TKindNameLookup& kindName) {
    ReadNumbers(reader, shop.Goods);
    shop.CoeffSell = ParseFactor(reader.ReadLine());
    shop.CoeffBuy = ParseFactor(reader.ReadLine());
    // Some plain records carry the third factor and the exchange list all the
    // same: a factor has a decimal point, a message ends with "~".
    const std::string next = reader.PeekLine();
    const bool thirdFactor = extended || next.find_first_of(".,") != std::string::npos;
    shop.CoeffChange = thirdFactor ? ParseFactor(reader.ReadLine()) : shop.CoeffBuy;
    ReadGoodsTypes(reader, shop.GoodsBuy, kindName);
    // A plain record without an exchange list leaves the one the shop has.
    if (extended || (thirdFactor && !EndsWith(reader.PeekLine(), '~')))
        ReadGoodsTypes(reader, shop.GoodsChange, kindName);
    for (std::string* message :
         {&shop.Msg1, &shop.Msg2, &shop.Msg3, &shop.Msg4, &shop.Msg5, &shop.Msg6, &shop.Msg7})
        *message = DropLast(reader.ReadLine());
    shop.Emotion = ToInt32(reader.ReadLine());
    shop.BitVector = FlagWord(reader.ReadLine());
    shop.Seller = ToInt32(reader.ReadLine());
    shop.NotSellVector = FlagWord(reader.ReadLine());
    ReadNumbers(reader, shop.Rooms);
    for (uint8_t* hour : {&shop.Open1, &shop.Close1, &shop.Open2, &shop.Close2})
        *hour = ToByte(reader.ReadLine());
}

// "-1" ends a list in the file, so an entry of -1 cannot be stored: it would
// end the list early and shift every following line. Such entries are left out.
void WriteNumbers(TStringList& lines, const std::vector<int32_t>& numbers) {
    for (const int32_t number : numbers)
        if (number != -1)
            lines.push_back(std::to_string(number));
    lines.emplace_back("-1");
}

void WriteGoodsTypes(TStringList& lines, const std::vector<TGoodsType>& types) {
    for (const auto& type : types)
        lines.push_back(type.Tag == -1 ? type.Text + "~" : std::to_string(type.Tag));
    lines.emplace_back("-1");
}

} // namespace

void TShop::Assign(const TShop& source) {
    if (this == &source)
        return;
    const int32_t vnum = VNum;
    *this = source;
    VNum = vnum;
    Source.Forget(); // a copy was never read from a file
}

bool TShopList::LoadFromFile(const std::string& fileName, const TKindNameLookup& kindName) {
    return ReadRecordFileNamed(*this, WorldKind(TRecordType::Shop).LoadWord, fileName,
                               [&](TWorldReader& reader) { ReadShops(reader, kindName); });
}

void TShopList::ReadShops(TWorldReader& reader, const TKindNameLookup& kindName) {
    ReadRecordFile<TShop>(
        reader, *this,
        [this, &kindName](TWorldReader& in, std::string& line) -> TShop& {
            bool extended = true;
            TShop& shop = FindOrAdd(ShopHeader(line, extended));
            ReadShop(in, shop, extended, kindName);
            line = in.ReadLine();
            return shop;
        },
        WriteShop);
}

void TShopList::WriteShop(const TShop& shop, TStringList& lines) {
    lines.push_back(Format("#%d E~", shop.VNum));
    WriteNumbers(lines, shop.Goods);
    lines.push_back(FactorText(shop.CoeffSell));
    lines.push_back(FactorText(shop.CoeffBuy));
    lines.push_back(FactorText(shop.CoeffChange));
    WriteGoodsTypes(lines, shop.GoodsBuy);
    WriteGoodsTypes(lines, shop.GoodsChange);
    for (const std::string* message :
         {&shop.Msg1, &shop.Msg2, &shop.Msg3, &shop.Msg4, &shop.Msg5, &shop.Msg6, &shop.Msg7})
        lines.push_back(*message + "~");
    lines.push_back(std::to_string(shop.Emotion));
    lines.push_back(FlagText(shop.BitVector));
    lines.push_back(std::to_string(shop.Seller));
    lines.push_back(FlagText(shop.NotSellVector));
    WriteNumbers(lines, shop.Rooms);
    for (const uint8_t hour : {shop.Open1, shop.Close1, shop.Open2, shop.Close2})
        lines.push_back(std::to_string(hour));
}

void TShopList::SaveToStrings(TStringList& lines, int32_t zone) const {
    ComposeZoneFile(lines, zone, {"CircleMUD v3.0 Shop File~"}, {"$", "$", "~"}, WriteShop);
}

bool TShopList::SaveToFile(const std::string& fileName, int32_t zone) const {
    return SaveZoneRecords(*this, fileName, zone, WorldKind(TRecordType::Shop).SaveFailure);
}
