#pragma once

#include "recordlist.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A goods type a shop buys or exchanges: a keyword entry (Tag -1, Text the
// keywords) or an item kind (Tag the kind code, Text its name).
struct TGoodsType {
    std::string Text;
    int32_t Tag = -1;
    bool operator==(const TGoodsType&) const = default;
};

class TShop {
public:
    explicit TShop(int32_t vnum) : VNum(vnum) {}

    // Copies every field but the number, lists included.
    void Assign(const TShop& source);

    int32_t VNum;
    std::vector<int32_t> Goods;
    // Held as given; written with two decimals.
    double CoeffSell = 1.0, CoeffBuy = 1.0, CoeffChange = 1.0;
    std::vector<TGoodsType> GoodsBuy;
    std::vector<TGoodsType> GoodsChange;
    std::string Msg1, Msg2, Msg3, Msg4, Msg5, Msg6, Msg7;
    int32_t Emotion = 0;
    std::string BitVector;
    int32_t Seller = 0;
    std::string NotSellVector;
    std::vector<int32_t> Rooms;
    uint8_t Open1 = 0, Close1 = 0, Open2 = 0, Close2 = 0;

    TSparseLines Trailer; // lines after the record, kept as read
    TSourceText Source;  // the text the record was read from
};

// The name of an item kind code (list "Type"); empty when the list has no such code.
using TKindNameLookup = std::function<std::string(int32_t code)>;

class TShopList : public TRecordList<TShop> {
public:
    // `kindName` names the item kinds of the buy and exchange lists; without
    // one (or for a code it does not know) the number's own text is used.
    bool LoadFromFile(const std::string& fileName, const TKindNameLookup& kindName = {});
    void SaveToStrings(TStringList& lines, int32_t zone) const;
    bool SaveToFile(const std::string& fileName, int32_t zone) const;
    void ReadShops(TWorldReader& reader, const TKindNameLookup& kindName);
    // Our writer's lines of one shop (without its trailer).
    static void WriteShop(const TShop& shop, TStringList& lines);
};
