#include "search.h"

#include <algorithm>
#include <array>

namespace {

// The folding table: upper case to lower for Latin and the Windows-1251
// Cyrillic letters, "Ё" and "ё" to "е".
const std::array<unsigned char, 256> kFold = [] {
    std::array<unsigned char, 256> fold{};
    for (int c = 0; c < 256; ++c)
        fold[static_cast<size_t>(c)] = static_cast<unsigned char>(c);
    for (int c = 'A'; c <= 'Z'; ++c)
        fold[static_cast<size_t>(c)] = static_cast<unsigned char>(c + 32);
    for (int c = 0xC0; c <= 0xDF; ++c) // А..Я
        fold[static_cast<size_t>(c)] = static_cast<unsigned char>(c + 32);
    fold[0xA8] = fold[0xB8] = 0xE5; // Ё, ё: е
    const std::array<std::pair<int, int>, 8> others = {{{0xA1, 0xA2},
                                                        {0xAA, 0xBA},
                                                        {0xAF, 0xBF},
                                                        {0xB2, 0xB3},
                                                        {0xA5, 0xB4},
                                                        {0x80, 0x90},
                                                        {0x8A, 0x9A},
                                                        {0xA3, 0xBC}}}; // Ў Є Ї І Ґ Ђ Љ Ј
    for (const auto& [upper, lower] : others)
        fold[static_cast<size_t>(upper)] = static_cast<unsigned char>(lower);
    for (int c = 0x8C; c <= 0x8F; ++c) // Њ Ќ Ћ Џ
        fold[static_cast<size_t>(c)] = static_cast<unsigned char>(c + 0x10);
    return fold;
}();

class TTextSearch {
public:
    TTextSearch(std::string_view text, size_t limit) : needle_(FoldCp1251(text)), limit_(limit) {}

    bool Full() const { return out_.size() >= limit_; }
    bool Truncated() const { return truncated_; }

    // Each line of `text` (entries may hold several lines joined by CR LF).
    void Look(TRecordType kind, int32_t vnum, std::string_view text) {
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find_first_of("\r\n", start);
            if (end == std::string_view::npos)
                end = text.size();
            LookAtLine(kind, vnum, text.substr(start, end - start));
            if (end == text.size())
                return;
            start = end + 1;
            if (text[end] == '\r' && start < text.size() && text[start] == '\n')
                ++start;
        }
    }
    void Look(TRecordType kind, int32_t vnum, const TTextLines& lines) {
        for (auto line = lines.begin(); line != lines.end(); ++line)
            Look(kind, vnum, line.View());
    }
    void Look(TRecordType kind, int32_t vnum, const TExtraDescList& descs) {
        for (const TExtraDesc& desc : descs) {
            Look(kind, vnum, desc.Keywords);
            Look(kind, vnum, desc.Description);
        }
    }

    std::vector<TFoundRecord> Take() { return std::move(out_); }

private:
    void LookAtLine(TRecordType kind, int32_t vnum, std::string_view line) {
        if (needle_.empty() || line.size() < needle_.size())
            return;
        const auto folded = [](char a, char b) {
            return kFold[static_cast<unsigned char>(a)] == static_cast<unsigned char>(b);
        };
        if (std::search(line.begin(), line.end(), needle_.begin(), needle_.end(), folded) ==
            line.end())
            return;
        if (Full()) {
            truncated_ = true;
            return;
        }
        out_.push_back({kind, vnum, std::string(line)});
    }

    const std::string needle_;
    const size_t limit_;
    bool truncated_ = false;
    std::vector<TFoundRecord> out_;
};

} // namespace

std::string FoldCp1251(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(kFold[static_cast<unsigned char>(c)]);
    return out;
}

std::vector<TFoundRecord> FindNumber(const TWorldView& world, int32_t vnum) {
    std::vector<TFoundRecord> out;
    for (const TRecordType kind : {TRecordType::Zone, TRecordType::Room, TRecordType::Obj,
                                   TRecordType::Mob, TRecordType::Shop, TRecordType::Trigger})
        if (RecordExists(world, kind, vnum))
            out.push_back({kind, vnum, RecordCaption(world, kind, vnum)});
    return out;
}

std::vector<TFoundRecord> FindText(const TWorldView& world, std::string_view text, size_t limit,
                                   bool* truncated) {
    TTextSearch search(text, limit);
    for (const auto& room : world.Rooms) {
        const auto k = TRecordType::Room;
        search.Look(k, room->VNum, room->Name);
        search.Look(k, room->VNum, room->Desc);
        search.Look(k, room->VNum, room->ExtraDescs);
        for (const TExit& exit : room->Exits) {
            search.Look(k, room->VNum, exit.ExitDesc());
            search.Look(k, room->VNum, exit.ExitKeywords());
        }
    }
    for (const auto& obj : world.Objs) {
        const auto k = TRecordType::Obj;
        const TObj& object = *obj;
        for (const TCompactString* field : {&object.Alias, &object.Imen, &object.Rod, &object.Dat,
                                            &object.Vin, &object.Tvor, &object.Pred, &object.Desc})
            search.Look(k, obj->VNum, field->View());
        search.Look(k, obj->VNum, object.Action.Text());
        search.Look(k, obj->VNum, obj->ExtraDescs);
    }
    for (const auto& mob : world.Mobs) {
        const auto k = TRecordType::Mob;
        for (const TCompactString* field : {&mob->Alias, &mob->Imen, &mob->Rod, &mob->Dat,
                                            &mob->Vin, &mob->Tvor, &mob->Pred, &mob->Desc})
            search.Look(k, mob->VNum, field->View());
        search.Look(k, mob->VNum, mob->Look);
    }
    for (const auto& shop : world.Shops)
        for (const std::string* field : {&shop->Msg1, &shop->Msg2, &shop->Msg3, &shop->Msg4,
                                         &shop->Msg5, &shop->Msg6, &shop->Msg7})
            search.Look(TRecordType::Shop, shop->VNum, *field);
    for (const auto& trigger : world.Triggers) {
        search.Look(TRecordType::Trigger, trigger->VNum, trigger->Name);
        search.Look(TRecordType::Trigger, trigger->VNum, trigger->Text);
    }
    for (const TZone* zone : world.Zones)
        search.Look(TRecordType::Zone, zone->ZoneNumber, zone->ZoneName);
    if (truncated)
        *truncated = search.Truncated();
    return search.Take();
}
