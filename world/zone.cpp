#include "zone.h"

#include "worldlists.h"

#include <cctype>

namespace {

// The comment a command line ends with: a tab and the prototype's name in
// parentheses; nothing when the prototype does not exist.
template <class List> std::string NameComment(const List& list, int32_t vnum) {
    const auto* record = list.Find(vnum);
    return record ? "\t(" + record->Imen + ")" : std::string();
}

template <class List> int32_t MaxInWorldOf(const List& list, int32_t vnum) {
    const auto* record = list.Find(vnum);
    return record ? record->MaxInWorld : -1;
}

// The leading decimal number of a header line; no digits give 0.
int32_t LeadingNumber(std::string_view text) {
    size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos)
        return 0;
    const bool negative = text[i] == '-';
    if (negative || text[i] == '+')
        ++i;
    int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), INT32_MAX);
    return static_cast<int32_t>(negative ? -value : value);
}

// The command line without its leading tabs and spaces; a line made only of
// blanks keeps one blank, so that it is skipped rather than taken as empty.
std::string TrimCommand(const std::string& line) {
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos)
        return line.empty() ? std::string() : line.substr(line.size() - 1);
    return line.substr(first);
}

bool OddFlag(const std::string& word) {
    return (ToInt32(word) & 1) != 0;
}
// P, G and E take any if-flag other than the text "0" as set.
bool NonZeroFlag(const std::string& word) {
    return word != "0";
}

int8_t Probability(const std::string& word) {
    const auto value = static_cast<int8_t>(ToInteger(word, -128, 127));
    return value == -1 ? int8_t{100} : value;
}

// Carries the reader's current room and prototypes from command to command.
class TZoneCommandReader {
public:
    explicit TZoneCommandReader(TZone& zone) : zone_(zone) {}

    void Handle(const std::string& line) {
        switch (std::toupper(static_cast<unsigned char>(line[0]))) {
        case 'O':
            ObjectCommand(line);
            break;
        case 'M':
            MobCommand(line);
            break;
        case 'P':
            PutCommand(line);
            break;
        case 'G':
            GiveOrEquip(line, false);
            break;
        case 'E':
            GiveOrEquip(line, true);
            break;
        case 'F':
            FollowCommand(line);
            break;
        case 'R':
            RemoveCommand(line);
            break;
        case 'Q':
            zone_.DeletedMobs.push_back(
                PackIfFlag(OddFlag(Word(2, line)), ToInt32(WordTab(3, line))));
            break;
        case 'D':
            DoorCommand(line);
            break;
        case 'T':
            TriggerCommand(line);
            break;
        default:
            break; // comments and unknown letters
        }
    }

private:
    TRoom* CurrentRoom() { return currentRoom_ < 0 ? nullptr : &RoomList[currentRoom_]; }

    void SetObjectPrototype(int32_t obj, int32_t max) {
        currentObj_ = ObjList.IndexOfVNum(obj);
        if (currentObj_ >= 0)
            ObjList[currentObj_].MaxInWorld = max;
    }

    void ObjectCommand(const std::string& line) {
        TRoomObj placed;
        placed.IfFlag = OddFlag(Word(2, line));
        placed.ObjVNum = ToInt32(Word(3, line));
        const int32_t max = ToInt32(Word(4, line));
        const int32_t room = ToInt32(Word(5, line));
        placed.Probability = Probability(WordTab(6, line));
        if (room < 0) {
            zone_.CreatedObjects.push_back(placed);
        } else {
            currentRoom_ = RoomList.IndexOfVNum(room);
            if (TRoom* target = CurrentRoom())
                target->Objects.push_back(placed);
        }
        SetObjectPrototype(placed.ObjVNum, max);
    }

    void MobCommand(const std::string& line) {
        TRoomMob placed;
        placed.IfFlag = OddFlag(Word(2, line));
        placed.MobVNum = ToInt32(Word(3, line));
        const int32_t max = ToInt32(Word(4, line));
        const int32_t room = ToInt32(Word(5, line));
        placed.MaxInRoom = ToInt16(WordTab(6, line));
        currentRoom_ = RoomList.IndexOfVNum(room);
        TRoom* target = CurrentRoom();
        if (!target)
            return;
        target->Mobs.push_back(placed);
        currentMob_ = MobList.IndexOfVNum(placed.MobVNum);
        if (currentMob_ >= 0)
            MobList[currentMob_].MaxInWorld = max;
    }

    // A P always goes into the last object placed in the current room.
    void PutCommand(const std::string& line) {
        TLinkObj inner;
        inner.IfFlag = NonZeroFlag(Word(2, line));
        inner.ObjVNum = ToInt32(Word(3, line));
        const int32_t max = ToInt32(WordTab(4, line));
        inner.Probability = Probability(WordTab(6, line));
        TRoom* room = CurrentRoom();
        if (!room || room->Objects.empty())
            return;
        room->Objects.back().Contents.push_back(inner);
        SetObjectPrototype(inner.ObjVNum, max);
    }

    void GiveOrEquip(const std::string& line, bool equip) {
        TLinkObj item;
        item.IfFlag = NonZeroFlag(Word(2, line));
        item.ObjVNum = ToInt32(Word(3, line));
        const int32_t max = ToInt32(WordTab(4, line));
        if (equip) {
            item.WearPos = ToInt8(Word(5, line));
            item.Probability = Probability(WordTab(6, line));
        } else {
            item.WearPos = -1;
            item.Probability = Probability(WordTab(5, line));
        }
        TRoom* room = CurrentRoom();
        if (!room || room->Mobs.empty())
            return;
        room->Mobs.back().Contents.push_back(item);
        SetObjectPrototype(item.ObjVNum, max);
    }

    void FollowCommand(const std::string& line) {
        const int32_t room = ToInt32(Word(3, line));
        const int32_t leader = ToInt32(Word(4, line));
        const int32_t follower = ToInt32(WordTab(5, line));
        if (TRoom* target = RoomList.Find(room)) {
            const int index = target->Mobs.IndexOfMob(follower);
            if (index >= 0)
                target->Mobs[static_cast<size_t>(index)].Leader = leader;
        }
    }

    void RemoveCommand(const std::string& line) {
        const bool ifFlag = OddFlag(Word(2, line));
        const int32_t room = ToInt32(Word(3, line));
        const int32_t obj = ToInt32(WordTab(4, line));
        if (TRoom* target = RoomList.Find(room))
            target->DelObjects.push_back(PackIfFlag(ifFlag, obj));
    }

    void DoorCommand(const std::string& line) {
        const int32_t room = ToInt32(Word(3, line));
        const int64_t direction = ToInteger(Word(4, line), 0, DirCount - 1);
        const uint8_t state = ToByte(WordTab(5, line));
        if (TRoom* target = RoomList.Find(room))
            target->Exits[static_cast<size_t>(direction)].DoorState = state;
    }

    void TriggerCommand(const std::string& line) {
        const bool ifFlag = OddFlag(Word(2, line));
        const int32_t type = ToInt32(Word(3, line));
        const int32_t entry = PackIfFlag(ifFlag, ToInt32(WordTab(4, line)));
        if (type == 0 && currentMob_ >= 0)
            MobList[currentMob_].Triggers.push_back(entry);
        else if (type == 1 && currentObj_ >= 0)
            ObjList[currentObj_].Triggers.push_back(entry);
        else if (type == 2 && currentRoom_ >= 0)
            RoomList[currentRoom_].Triggers.push_back(entry);
    }

    TZone& zone_;
    int currentRoom_ = -1; // indexes into the lists
    int currentObj_ = -1;
    int currentMob_ = -1;
};

} // namespace

void TZone::Clear() {
    ZoneNumber = 0;
    ZoneName.clear();
    RepopTime = 0;
    RepopType = 0;
    CreatedObjects.clear();
    DeletedMobs.clear();
}

void TZone::ReadZone(TWorldReader& reader) {
    Clear();
    std::string line;
    if (reader.SkipToLineStarting('#', line))
        ZoneNumber = LeadingNumber(std::string_view(line).substr(1));
    ZoneName = DropLast(reader.ReadLine());
    line = reader.ReadLine();
    RepopTime = ToInt32(Word(2, line));
    RepopType = ToInt32(Word(3, line));

    TZoneCommandReader commands(*this);
    // The commands run up to the "S" line; a file that ends without one keeps
    // every command up to its last line.
    while (!reader.Eof()) {
        line = TrimCommand(reader.ReadLine());
        if (line == "S")
            break;
        if (line.empty())
            throw TLoadFailure{};
        commands.Handle(line);
    }
}

bool TZone::LoadFromFile(const std::string& fileName) {
    return LoadWorldFile("зону", fileName, [this](TWorldReader& reader) { ReadZone(reader); });
}

bool TZone::OpenZoneFile(const std::string& fileName) {
    ShowFileErrors = false;
    const bool loaded = LoadFromFile(fileName);
    ZoneFileName = fileName;
    DeriveFileNames();
    ShowFileErrors = true;
    return loaded;
}

void TZone::DeriveFileNames() {
    // The zone file lies in the workspace's "ZON/" folder.
    const size_t slash = ZoneFileName.rfind('/');
    std::string workspace =
        slash == std::string::npos ? std::string() : ZoneFileName.substr(0, slash + 1);
    workspace.erase(workspace.size() - std::min<size_t>(4, workspace.size()));
    const std::string number = std::to_string(ZoneNumber);
    RoomFileName = workspace + "WLD/" + number + ".wld";
    ObjFileName = workspace + "OBJ/" + number + ".obj";
    MobFileName = workspace + "MOB/" + number + ".mob";
    ShopFileName = workspace + "SHP/" + number + ".shp";
    TrigFileName = workspace + "TRG/" + number + ".trg";
}

void TZone::SaveToStrings(TStringList& lines) const {
    lines.clear();
    lines.emplace_back("* Velmora zone file v1.0");
    lines.push_back(Format("#%d", ZoneNumber));
    lines.push_back(ZoneName + "~");
    lines.push_back(
        Format("%lld %d %d", static_cast<long long>(ZoneNumber) * 100 + 99, RepopTime, RepopType));
    for (const TRoomObj& obj : CreatedObjects)
        lines.push_back(Format("O %d %d %d -1 %d", obj.IfFlag, obj.ObjVNum,
                               MaxInWorldOf(ObjList, obj.ObjVNum), obj.Probability) +
                        NameComment(ObjList, obj.ObjVNum));
    for (int32_t mob : DeletedMobs)
        lines.push_back(Format("Q %d %d -1 -1 -1", PackedIfFlag(mob), PackedNumber(mob)));

    for (const TRoom* roomPtr : RoomList.ZoneInListOrder(ZoneNumber)) {
        const TRoom& room = *roomPtr;
        const int32_t r = room.VNum;
        for (int32_t removed : room.DelObjects)
            lines.push_back(
                Format("R %d %d %d -1 -1", PackedIfFlag(removed), r, PackedNumber(removed)) +
                NameComment(ObjList, PackedNumber(removed)));
        for (const TRoomObj& obj : room.Objects) {
            lines.push_back(Format("O %d %d %d %d %d", obj.IfFlag, obj.ObjVNum,
                                   MaxInWorldOf(ObjList, obj.ObjVNum), r, obj.Probability) +
                            NameComment(ObjList, obj.ObjVNum));
            for (const TLinkObj& inner : obj.Contents)
                lines.push_back(Format("P %d %d %d %d %d", inner.IfFlag, inner.ObjVNum,
                                       MaxInWorldOf(ObjList, inner.ObjVNum), obj.ObjVNum,
                                       inner.Probability) +
                                NameComment(ObjList, inner.ObjVNum));
        }
        for (const TRoomMob& mob : room.Mobs) {
            lines.push_back(Format("M %d %d %d %d %d", mob.IfFlag, mob.MobVNum,
                                   MaxInWorldOf(MobList, mob.MobVNum), r, mob.MaxInRoom) +
                            NameComment(MobList, mob.MobVNum));
            for (const TLinkObj& item : mob.Contents) {
                const int32_t max = MaxInWorldOf(ObjList, item.ObjVNum);
                if (item.WearPos == -1)
                    lines.push_back(Format("G %d %d %d %d -1", item.IfFlag, item.ObjVNum, max,
                                           item.Probability) +
                                    NameComment(ObjList, item.ObjVNum));
                else
                    lines.push_back(Format("E %d %d %d %d %d", item.IfFlag, item.ObjVNum, max,
                                           item.WearPos, item.Probability) +
                                    NameComment(ObjList, item.ObjVNum));
            }
            if (mob.Leader != -1)
                lines.push_back(Format("F 0 %d %d %d -1", r, mob.Leader, mob.MobVNum) +
                                NameComment(MobList, mob.Leader));
        }
        for (int d = 0; d < DirCount; ++d) {
            const TExit& exit = room.Exits[static_cast<size_t>(d)];
            if (exit.ToRoom != 0 && exit.DoorFlags != 0)
                lines.push_back(
                    Format("D 0 %d %d %d -1\t(%s)", r, d, exit.DoorState, room.Name.c_str()));
        }
    }
    lines.emplace_back("S");
    lines.emplace_back("$");
    lines.emplace_back("$");
}

bool TZone::SaveLinesToZoneFile(const std::string& fileName, const TStringList& lines) const {
    return SaveRecordFile(fileName, lines, "Не могу сохранить зону");
}

bool TZone::SaveToFile(const std::string& fileName) const {
    TStringList lines;
    SaveToStrings(lines);
    return SaveLinesToZoneFile(fileName, lines);
}
