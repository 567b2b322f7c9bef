#include "room.h"

#include "maplayout.h"
#include "recordkinds.h"
#include "strutils.h"

#include <filesystem>
#include <system_error>

int ReverseDir(int direction) {
    static constexpr int kReverse[DirCount] = {DirSouth, DirWest, DirNorth,
                                               DirEast,  DirDown, DirUp};
    return direction >= 0 && direction < DirCount ? kReverse[direction] : -1;
}

std::string DirectionName(int direction) {
    static constexpr const char* kNames[DirCount] = {"на север", "на восток", "на юг",
                                                     "на запад", "вверх",     "вниз"};
    return direction >= 0 && direction < DirCount ? Msg(kNames[direction]) : std::string();
}

void TRoom::Assign(const TRoom& source) {
    Name = source.Name;
    Desc = source.Desc;
    Flags = source.Flags;
    Sector = source.Sector;
    ExtraDescs = source.ExtraDescs;
    Triggers = source.Triggers;
    Mobs = source.Mobs;
    Objects = source.Objects;
    DelObjects = source.DelObjects;
    Trailer = source.Trailer;
}

void TRoomList::WriteRoom(const TRoom& room, TStringList& lines) {
    lines.push_back(Format("#%d", room.VNum));
    lines.push_back(room.Name + "~");
    WriteTildeText(lines, room.Desc);
    lines.push_back(
        Format("%d %s %d", ZoneOf(room.VNum), FlagText(room.Flags.Text()).c_str(), room.Sector));
    for (int d = 0; d < DirCount; ++d) {
        const TExit& exit = room.Exits[static_cast<size_t>(d)];
        if (exit.ToRoom == 0)
            continue;
        lines.push_back(Format("D%d", d));
        WriteTildeLine(lines, exit.ExitDesc());
        WriteTildeLine(lines, exit.ExitKeywords());
        lines.push_back(Format("%d %d %d", exit.DoorFlags, exit.Key, exit.ToRoom) + exit.Tail());
    }
    // A kept block to room 0 gives way to an exit the builder made there.
    bool skipping = false;
    for (const std::string& kept : room.KeptExits) {
        const std::string_view text = LineText(kept);
        if (text.size() == 2 && text[0] == 'D' && text[1] >= '0' && text[1] <= '5')
            skipping = room.Exits[static_cast<size_t>(kept[1] - '0')].ToRoom != 0;
        if (!skipping)
            lines.push_back(kept);
    }
    WriteExtraDescs(lines, room.ExtraDescs);
    lines.emplace_back("S");
    for (int32_t trigger : room.Triggers)
        lines.push_back(Format("T %d", trigger));
}

void TRoomList::SaveToStrings(TStringList& lines, int32_t zone) const {
    ComposeZoneFile(lines, zone, {"* Velmora room file v1.0"}, {"$", "$"}, WriteRoom, ReadRoom);
}

bool TRoomList::SaveToFile(const std::string& fileName, int32_t zone) const {
    // The layout is written even when the rooms could not be: it is a file of its own.
    const bool rooms =
        SaveZoneRecords(*this, fileName, zone, WorldKind(TRecordType::Room).SaveFailure);
    return SaveLayoutFile(*this, LayoutFileName(fileName), zone) && rooms;
}

bool TRoomList::LoadFromFile(const std::string& fileName) {
    // The rooms the layout file names are placed right after they are read:
    // those are kept as read, the others as their text until first used.
    const std::vector<int32_t> placed = LayoutNumbers(LayoutFileName(fileName));
    const bool whole =
        ReadRecordFileNamed(*this, WorldKind(TRecordType::Room).LoadWord, fileName,
                            [this, &placed](TWorldReader& reader) {
                                ReadRooms(reader, [&placed](int32_t vnum) {
                                    return !std::binary_search(placed.begin(), placed.end(), vnum);
                                });
                            });
    // A file with a room kept unread still places the rooms that were read.
    std::error_code error;
    if (whole || std::filesystem::is_regular_file(fileName, error))
        LoadLayoutBeside(*this, fileName);
    return whole;
}

void TRoomList::ReadRooms(TWorldReader& reader, const TLeaveUnread& leaveUnread) {
    const TLeaveUnread every = [](int32_t) { return true; };
    ReadNumberedFile(reader, ReadRoom, WriteRoom, leaveUnread ? leaveUnread : every);
}

void TRoomList::ReadRoom(TWorldReader& reader, TRoom& room, std::string& line) {
    room.Name = reader.ReadLineWithoutLast();
    room.Desc.clear();
    ReadTildeText(reader, room.Desc);

    line = reader.ReadLine();
    const std::string flags = Word(2, line);
    const uint8_t sector = ToByte(Word(3, line));
    room.Flags = FlagWord(flags);
    room.Sector = sector;

    room.Exits.ClearTargets();
    room.KeptExits.clear();
    line = reader.ReadLine();
    // Each exit block begins at its "D" line (never at the header before the first).
    size_t blockStart = reader.LineStart();
    while (StartsWith(line, 'D')) {
        if (line.size() != 2 || line[1] < '0' || line[1] > '5')
            throw TLoadFailure{};
        const auto direction = static_cast<size_t>(line[1] - '0');
        TExit read;
        read.SetExitDesc(ReadTildeLine(reader));
        read.SetExitKeywords(ReadTildeLine(reader));
        line = reader.ReadLine();
        read.DoorFlags = ToByte(Word(1, line));
        read.Key = ToInt32(Word(2, line));
        read.ToRoom = ToInt32(Word(3, line));
        read.SetTail(TextAfterWord(3, line));
        line = reader.ReadLine();
        if (read.ToRoom == 0) {
            // An exit to room 0 is not one of ours: its block is kept whole.
            const TStringList block = reader.LinesBetween(blockStart, reader.LineStart());
            room.KeptExits.insert(room.KeptExits.end(), block.begin(), block.end());
        } else {
            TExit& exit = room.Exits[direction];
            read.DoorState = exit.DoorState;
            exit = std::move(read);
        }
        blockStart = reader.LineStart();
    }

    room.ExtraDescs.clear();
    while (StartsWith(line, 'E')) {
        ReadExtraDesc(reader, room.ExtraDescs);
        line = reader.ReadLine();
    }
    // Anything up to the closing "S" (such as a second D or E block) is skipped.
    while (line != "S") {
        if (reader.Eof())
            throw TEndOfFileStop{};
        line = reader.ReadLine();
    }

    line = reader.ReadLine();
    room.Triggers.clear();
    while (StartsWith(line, 'T') && IsDecimal(Word(2, line)) && Word(3, line).empty()) {
        room.Triggers.push_back(ToInt32(Word(2, line)));
        line = reader.ReadLine();
    }
    // The zone file refills the contents; it is read after the room file.
    room.Mobs.clear();
    room.Objects.clear();
    room.DelObjects.clear();
    room.KeptZoneCommands.clear();
}

const std::array<const char*, kSectionCount> kSectionTags = {
    "<day>",         "<night>",     "<winterday>",   "<winternight>", "<springday>",
    "<springnight>", "<summerday>", "<summernight>", "<autumnday>",   "<autumnnight>"};

TStringList JoinDescription(const TDescSections& sections) {
    TStringList desc = sections.General;
    for (int i = 0; i < kSectionCount; ++i) {
        const auto& text = sections.Sections[static_cast<size_t>(i)];
        if (text.empty())
            continue;
        std::string joined;
        for (size_t k = 0; k < text.size(); ++k)
            joined += (k ? "\r\n" : "") + text[k];
        const std::string tag = kSectionTags[static_cast<size_t>(i)];
        desc.push_back(tag + (sections.Replacing[static_cast<size_t>(i)] ? "R" : "") +
                       StripLineEnds(joined) + tag);
    }
    return desc;
}

TDescSections SplitDescription(const TStringList& desc) {
    TDescSections out;
    int current = -1; // the section being read; -1: the general text
    for (const std::string& line : desc) {
        std::string rest = line;
        for (;;) {
            if (current < 0) {
                size_t pos = std::string::npos;
                for (int i = 0; i < kSectionCount && current < 0; ++i) {
                    pos = rest.find(kSectionTags[static_cast<size_t>(i)]);
                    if (pos != std::string::npos)
                        current = i;
                }
                if (current < 0) {
                    out.General.push_back(rest);
                    break;
                }
                if (pos > 0)
                    out.General.push_back(rest.substr(0, pos));
                rest.erase(0, pos + std::char_traits<char>::length(
                                        kSectionTags[static_cast<size_t>(current)]));
                if (rest.empty())
                    break;
                const bool replacing = rest.front() == 'R';
                if (replacing)
                    rest.erase(0, 1);
                out.Replacing[static_cast<size_t>(current)] = replacing;
            }
            const std::string tag = kSectionTags[static_cast<size_t>(current)];
            auto& section = out.Sections[static_cast<size_t>(current)];
            const size_t close = rest.find(tag);
            if (close == std::string::npos) {
                section.push_back(rest);
                break;
            }
            if (close > 0)
                section.push_back(rest.substr(0, close));
            rest.erase(0, close + tag.size());
            current = -1;
            if (rest.empty())
                break;
        }
    }
    return out;
}
