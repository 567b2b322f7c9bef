#include "zone.h"

#include "recordkinds.h"
#include "world.h"

#include <algorithm>
#include <cctype>

namespace {

// The comment a command line ends with: a tab and the prototype's name in
// parentheses; nothing when the prototype does not exist.
template <class List> std::string NameComment(const List& list, int32_t vnum) {
    const auto* record = list.Find(vnum);
    return record ? "\t(" + record->Imen + ")" : std::string();
}

// The limit a command writes: the one it was read with while the builder
// has not changed the prototype's since the files gave it, else the
// prototype's (-1 when the prototype does not exist and none was read).
template <class List> int32_t LimitOf(const List& list, int32_t vnum, int32_t readMax) {
    const auto* record = list.Find(vnum);
    if (readMax >= 0 && (!record || record->MaxInWorld == record->ReadMaxInWorld))
        return readMax;
    return record ? record->MaxInWorld : -1;
}

// Reading: a command gives the prototype its limit.
template <class Record> void TakeLimit(Record& record, int32_t max) {
    record.MaxInWorld = max;
    record.ReadMaxInWorld = max;
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

const char kOurComment[] = "* Velmora zone file v1.0";

// Our writer's line of each command: the limit from LimitOf, the comment
// the prototype's name.
std::string ObjectLine(const TWorld& world, const TRoomObj& obj, int32_t room) {
    return Format("O %d %d %d %d %d", obj.IfFlag, obj.ObjVNum,
                  LimitOf(world.Objs, obj.ObjVNum, obj.ReadMax), room, obj.Probability) +
           NameComment(world.Objs, obj.ObjVNum);
}
std::string PutLine(const TWorld& world, const TLinkObj& inner, int32_t container) {
    return Format("P %d %d %d %d %d", inner.IfFlag, inner.ObjVNum,
                  LimitOf(world.Objs, inner.ObjVNum, inner.ReadMax), container, inner.Probability) +
           NameComment(world.Objs, inner.ObjVNum);
}
std::string MobLine(const TWorld& world, const TRoomMob& mob, int32_t room) {
    return Format("M %d %d %d %d %d", mob.IfFlag, mob.MobVNum,
                  LimitOf(world.Mobs, mob.MobVNum, mob.ReadMax), room, mob.MaxInRoom) +
           NameComment(world.Mobs, mob.MobVNum);
}
std::string GiveLine(const TWorld& world, const TLinkObj& item) {
    const int32_t max = LimitOf(world.Objs, item.ObjVNum, item.ReadMax);
    const std::string line =
        item.WearPos == -1
            ? Format("G %d %d %d %d -1", item.IfFlag, item.ObjVNum, max, item.Probability)
            : Format("E %d %d %d %d %d", item.IfFlag, item.ObjVNum, max, item.WearPos,
                     item.Probability);
    return line + NameComment(world.Objs, item.ObjVNum);
}
std::string FollowLine(const TWorld& world, int32_t room, int32_t leader, int32_t follower) {
    return Format("F 0 %d %d %d -1", room, leader, follower) + NameComment(world.Mobs, leader);
}
std::string RemoveLine(const TWorld& world, int32_t removed, int32_t room) {
    return Format("R %d %d %d -1 -1", PackedIfFlag(removed), room, PackedNumber(removed)) +
           NameComment(world.Objs, PackedNumber(removed));
}
std::string QuitLine(int32_t mob) {
    return Format("Q %d %d -1 -1 -1", PackedIfFlag(mob), PackedNumber(mob));
}
std::string DoorLine(const TRoom& room, int direction) {
    return Format("D 0 %d %d %d -1\t(", room.VNum, direction,
                  room.Exits[static_cast<size_t>(direction)].DoorState)
        .append(room.Name)
        .append(")");
}

// Carries the reader's current room and prototypes from command to command.
// A command we model becomes room contents (its line as read is kept when it
// is not in our form); any other line is kept as read after the last thing
// placed, so that it stays with what it refers to.
class TZoneCommandReader {
public:
    TZoneCommandReader(TWorld& world, TZone& zone) : world_(world), zone_(zone) {}

    void Handle(const std::string& command, const std::string& asRead) {
        const std::string ours = Model(command);
        if (ours.empty())
            Keep(asRead);
        else if (ours != asRead)
            zone_.CommandsAsRead.emplace(ours, asRead);
    }

private:
    // Our line of a command that became contents; empty when it did not.
    std::string Model(const std::string& line) {
        switch (std::toupper(static_cast<unsigned char>(line[0]))) {
        case 'O':
            return ObjectCommand(line);
        case 'M':
            return MobCommand(line);
        case 'P':
            return PutCommand(line);
        case 'G':
            return GiveOrEquip(line, false);
        case 'E':
            return GiveOrEquip(line, true);
        case 'F':
            return FollowCommand(line);
        case 'R':
            return RemoveCommand(line);
        case 'Q': {
            const int32_t mob = PackIfFlag(OddFlag(Word(2, line)), ToInt32(WordTab(3, line)));
            zone_.DeletedMobs.push_back(mob);
            return QuitLine(mob);
        }
        case 'D':
            return DoorCommand(line);
        default:
            return {}; // comments, triggers and commands of other servers
        }
    }

    void Keep(const std::string& line) {
        if (LineText(line) == kOurComment)
            return;
        if (lastMob_)
            lastMob_->KeptAfter.push_back(line);
        else if (lastObj_)
            lastObj_->KeptAfter.push_back(line);
        else if (TRoom* room = CurrentRoom())
            room->KeptZoneCommands.push_back(line);
        else
            zone_.KeptCommands.push_back(line);
    }

    TRoom* CurrentRoom() { return currentRoom_ < 0 ? nullptr : &world_.Rooms[currentRoom_]; }

    void SetObjectPrototype(int32_t obj, int32_t max) {
        const int index = world_.Objs.IndexOfVNum(obj);
        if (index >= 0)
            TakeLimit(world_.Objs[index], max);
    }

    std::string ObjectCommand(const std::string& line) {
        TRoomObj placed;
        placed.IfFlag = OddFlag(Word(2, line));
        placed.ObjVNum = ToInt32(Word(3, line));
        const int32_t max = ToInt32(Word(4, line));
        const int32_t room = ToInt32(Word(5, line));
        placed.Probability = Probability(WordTab(6, line));
        placed.ReadMax = max;
        SetObjectPrototype(placed.ObjVNum, max);
        lastMob_ = nullptr;
        if (room < 0) {
            lastObj_ = &zone_.CreatedObjects.emplace_back(std::move(placed));
            return ObjectLine(world_, *lastObj_, -1);
        }
        currentRoom_ = world_.Rooms.IndexOfVNum(room);
        TRoom* target = CurrentRoom();
        lastObj_ = target ? &target->Objects.emplace_back(std::move(placed)) : nullptr;
        return lastObj_ ? ObjectLine(world_, *lastObj_, room) : std::string();
    }

    std::string MobCommand(const std::string& line) {
        TRoomMob placed;
        placed.IfFlag = OddFlag(Word(2, line));
        placed.MobVNum = ToInt32(Word(3, line));
        const int32_t max = ToInt32(Word(4, line));
        const int32_t room = ToInt32(Word(5, line));
        placed.MaxInRoom = ToInt16(WordTab(6, line));
        placed.ReadMax = max;
        currentRoom_ = world_.Rooms.IndexOfVNum(room);
        lastObj_ = nullptr;
        lastMob_ = nullptr;
        TRoom* target = CurrentRoom();
        if (!target)
            return {};
        lastMob_ = &target->Mobs.emplace_back(std::move(placed));
        const int prototype = world_.Mobs.IndexOfVNum(lastMob_->MobVNum);
        if (prototype >= 0)
            TakeLimit(world_.Mobs[prototype], max);
        return MobLine(world_, *lastMob_, room);
    }

    // A P always goes into the last object placed in the current room.
    std::string PutCommand(const std::string& line) {
        TLinkObj inner;
        inner.IfFlag = NonZeroFlag(Word(2, line));
        inner.ObjVNum = ToInt32(Word(3, line));
        const int32_t max = ToInt32(WordTab(4, line));
        inner.Probability = Probability(WordTab(6, line));
        inner.ReadMax = max;
        TRoom* room = CurrentRoom();
        if (!room || room->Objects.empty() || lastMob_)
            return {};
        TRoomObj& container = room->Objects.back();
        container.Contents.push_back(inner);
        lastObj_ = &container;
        SetObjectPrototype(inner.ObjVNum, max);
        return PutLine(world_, inner, container.ObjVNum);
    }

    std::string GiveOrEquip(const std::string& line, bool equip) {
        TLinkObj item;
        item.IfFlag = NonZeroFlag(Word(2, line));
        item.ObjVNum = ToInt32(Word(3, line));
        const int32_t max = ToInt32(WordTab(4, line));
        item.ReadMax = max;
        if (equip) {
            item.WearPos = ToInt8(Word(5, line));
            item.Probability = Probability(WordTab(6, line));
        } else {
            item.WearPos = -1;
            item.Probability = Probability(WordTab(5, line));
        }
        // The last mob placed is always the last one of the current room.
        if (!lastMob_)
            return {};
        lastMob_->Contents.push_back(item);
        SetObjectPrototype(item.ObjVNum, max);
        return GiveLine(world_, item);
    }

    std::string FollowCommand(const std::string& line) {
        const int32_t room = ToInt32(Word(3, line));
        const int32_t leader = ToInt32(Word(4, line));
        const int32_t follower = ToInt32(WordTab(5, line));
        TRoom* target = world_.Rooms.Find(room);
        if (!target)
            return {};
        const int index = target->Mobs.IndexOfMob(follower);
        if (index < 0 || target->Mobs[static_cast<size_t>(index)].Leader != -1)
            return {};
        target->Mobs[static_cast<size_t>(index)].Leader = leader;
        return FollowLine(world_, room, leader, follower);
    }

    std::string RemoveCommand(const std::string& line) {
        const bool ifFlag = OddFlag(Word(2, line));
        const int32_t room = ToInt32(Word(3, line));
        const int32_t obj = ToInt32(WordTab(4, line));
        TRoom* target = world_.Rooms.Find(room);
        if (!target)
            return {};
        const int32_t removed = PackIfFlag(ifFlag, obj);
        target->DelObjects.push_back(removed);
        return RemoveLine(world_, removed, room);
    }

    // Our rooms write a door state only for an exit with a door; any other
    // D command (or a state that is no byte) is kept as read.
    std::string DoorCommand(const std::string& line) {
        const int32_t room = ToInt32(Word(3, line));
        const int64_t direction = ToInteger(Word(4, line), 0, DirCount - 1);
        const int32_t state = ToInt32(WordTab(5, line));
        TRoom* target = world_.Rooms.Find(room);
        if (!target || state < 0 || state > 255)
            return {};
        TExit& exit = target->Exits[static_cast<size_t>(direction)];
        if (exit.ToRoom == 0 || exit.DoorFlags == 0)
            return {};
        exit.DoorState = static_cast<uint8_t>(state);
        return DoorLine(*target, static_cast<int>(direction));
    }

    TWorld& world_;
    TZone& zone_;
    int currentRoom_ = -1; // index into the room list
    // What the last command placed; lines we keep follow it.
    TRoomMob* lastMob_ = nullptr;
    TRoomObj* lastObj_ = nullptr;
};

// Writes our lines, each in the form it was read in where it was read in another.
class TCommandWriter {
public:
    TCommandWriter(TStringList& lines, const TZone& zone)
        : lines_(lines), asRead_(zone.CommandsAsRead) {}

    void Add(std::string ours) {
        const auto found = asRead_.find(ours);
        if (found == asRead_.end()) {
            lines_.push_back(std::move(ours));
            return;
        }
        lines_.push_back(found->second);
        asRead_.erase(found);
    }
    void Keep(const TStringList& kept) { lines_.insert(lines_.end(), kept.begin(), kept.end()); }

private:
    TStringList& lines_;
    std::unordered_multimap<std::string, std::string> asRead_;
};

} // namespace

int32_t ZoneHeaderNumber(std::string_view headerLine) {
    std::string_view text = headerLine.substr(std::min<size_t>(1, headerLine.size()));
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

void TZone::Clear() {
    ZoneNumber = 0;
    ZoneName.clear();
    RepopTime = 0;
    RepopType = 0;
    CreatedObjects.clear();
    DeletedMobs.clear();
    HeaderLines.clear();
    TopRoom = -1;
    TopLineTail.clear();
    KeptCommands.clear();
    CommandsAsRead.clear();
    Source.Forget();
    LineEnd = kCrLf;
}

void TZone::ReadZone(TWorld& world, TWorldReader& reader) {
    Clear();
    LineEnd = reader.MainLineEnd();
    std::string line;
    if (reader.SkipToLineStarting('#', line))
        ZoneNumber = ZoneHeaderNumber(line);
    ZoneName = DropLast(reader.ReadLine());
    // Other servers put a parameter line "#a b c" and author lines "^...~" here.
    line = reader.ReadLine();
    while (StartsWith(line, '#') || StartsWith(line, '^')) {
        HeaderLines.push_back(reader.LastLineKept());
        line = reader.ReadLine();
    }
    TopRoom = ToInt32(Word(1, line));
    RepopTime = ToInt32(Word(2, line));
    RepopType = ToInt32(Word(3, line));
    TopLineTail = TextAfterWord(3, line);
    if (TopRoom == ZoneNumber * int64_t{100} + 99 && TopLineTail.empty())
        TopRoom = -1;

    TZoneCommandReader commands(world, *this);
    // The commands run up to the "S" line; a file that ends without one keeps
    // every command up to its last line.
    while (!reader.Eof()) {
        const std::string asRead = reader.ReadLine();
        line = TrimCommand(asRead);
        if (line == "S")
            break;
        if (line.empty()) {
            if (reader.Eof())
                break; // the empty last line of a file cut off before "S"
            throw TLoadFailure{};
        }
        commands.Handle(line, reader.LastLineKept());
    }
    // The text stays even in our form: a later read of another zone may change
    // our form of this one (a shared prototype's limit) without the builder.
    // Our form to compare them with is composed once the world is read
    // (TakeAsUnchanged).
    if (TTextRange range = reader.RangeBetween(0, reader.TextEnd()))
        Source.KeepRange(std::move(range));
    else
        Source.KeepLines(reader.LinesBetween(0, reader.TextEnd()));
}

void TZone::TakeAsUnchanged(const TWorld& world) {
    TStringList ours;
    ComposeOurForm(world, ours);
    Source.Rebase(ours);
}

bool TZone::ReadZoneFile(TWorld& world, const std::string& fileName, TReadContext& context) {
    return LoadWorldFile(
        WorldKind(TRecordType::Zone).LoadWord, fileName,
        [this, &world](TWorldReader& reader) { ReadZone(world, reader); }, context);
}

bool TZone::LoadFromFile(TWorld& world, const std::string& fileName, TReadContext& context) {
    const bool loaded = ReadZoneFile(world, fileName, context);
    if (loaded)
        TakeAsUnchanged(world);
    return loaded;
}

bool TZone::LoadFromFile(TWorld& world, const std::string& fileName) {
    TReadContext shown;
    return LoadFromFile(world, fileName, shown);
}

bool TZone::OpenZoneFile(TWorld& world, const std::string& fileName, int* failedLine) {
    TReadContext quiet{.Quiet = true};
    const bool loaded = ReadZoneFile(world, fileName, quiet);
    ZoneFileName = fileName;
    DeriveFileNames();
    if (failedLine)
        *failedLine = quiet.FailedLine;
    return loaded;
}

void TZone::DeriveFileNames() {
    // The zone file lies in the workspace's "ZON/" folder.
    const size_t slash = ZoneFileName.rfind('/');
    std::string workspace =
        slash == std::string::npos ? std::string() : ZoneFileName.substr(0, slash + 1);
    workspace.erase(workspace.size() - std::min<size_t>(4, workspace.size()));
    const std::string number = std::to_string(ZoneNumber);
    for (const TRecordType type : kRecordListTypes) {
        const TWorldKind& kind = WorldKind(type);
        ZoneFileOf(*this, type) = workspace + kind.Folder + "/" + number + kind.Extension;
    }
}

void TZone::ComposeOurForm(const TWorld& world, TStringList& lines) const {
    lines.clear();
    lines.emplace_back(kOurComment);
    lines.push_back(Format("#%d", ZoneNumber));
    lines.push_back(ZoneName + "~");
    lines.insert(lines.end(), HeaderLines.begin(), HeaderLines.end());
    const int64_t top = TopRoom >= 0 ? TopRoom : static_cast<int64_t>(ZoneNumber) * 100 + 99;
    lines.push_back(Format("%lld %d %d", static_cast<long long>(top), RepopTime, RepopType) +
                    TopLineTail);
    TCommandWriter out(lines, *this);
    out.Keep(KeptCommands);
    for (const TRoomObj& obj : CreatedObjects) {
        out.Add(ObjectLine(world, obj, -1));
        out.Keep(obj.KeptAfter);
    }
    for (int32_t mob : DeletedMobs)
        out.Add(QuitLine(mob));

    for (const TRoom* roomPtr : world.Rooms.ZoneInListOrder(ZoneNumber)) {
        const TRoom& room = *roomPtr;
        const int32_t r = room.VNum;
        for (int32_t removed : room.DelObjects)
            out.Add(RemoveLine(world, removed, r));
        for (const TRoomObj& obj : room.Objects) {
            out.Add(ObjectLine(world, obj, r));
            for (const TLinkObj& inner : obj.Contents)
                out.Add(PutLine(world, inner, obj.ObjVNum));
            out.Keep(obj.KeptAfter);
        }
        for (const TRoomMob& mob : room.Mobs) {
            out.Add(MobLine(world, mob, r));
            for (const TLinkObj& item : mob.Contents)
                out.Add(GiveLine(world, item));
            if (mob.Leader != -1)
                out.Add(FollowLine(world, r, mob.Leader, mob.MobVNum));
            out.Keep(mob.KeptAfter);
        }
        for (int d = 0; d < DirCount; ++d) {
            const TExit& exit = room.Exits[static_cast<size_t>(d)];
            if (exit.ToRoom != 0 && exit.DoorFlags != 0)
                out.Add(DoorLine(room, d));
        }
        out.Keep(room.KeptZoneCommands);
    }
    lines.emplace_back("S");
    lines.emplace_back("$");
    lines.emplace_back("$");
}

void TZone::SaveToStrings(const TWorld& world, TStringList& lines) const {
    TStringList ours;
    ComposeOurForm(world, ours);
    lines.clear();
    Source.AppendTo(lines, std::move(ours));
}

void TZone::ForgetSource() {
    CommandsAsRead.clear();
    Source.Forget();
    LineEnd = kCrLf;
}

bool TZone::SaveLinesToZoneFile(const std::string& fileName, const TStringList& lines) const {
    return SaveRecordFile(fileName, lines, WorldKind(TRecordType::Zone).SaveFailure, LineEnd);
}

bool TZone::SaveToFile(const TWorld& world, const std::string& fileName) const {
    TStringList lines;
    SaveToStrings(world, lines);
    return SaveLinesToZoneFile(fileName, lines);
}
