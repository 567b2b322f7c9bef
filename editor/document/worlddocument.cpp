#include "worlddocument.h"

#include "maplayout.h"
#include "workspacescan.h"
#include "worldfile.h"
#include "zonecontents.h"

#include <QUndoCommand>
#include <QUndoStack>
#include <algorithm>
#include <filesystem>

namespace {

// The history keeps this many steps; older ones are dropped.
constexpr int kUndoLimit = 200;

} // namespace

// One step: the zones it touched, before and after.
class TZoneStep : public QUndoCommand {
public:
    TZoneStep(TWorldDocument& document, const QString& text, const TStepPlace& place,
              std::vector<TWorldDocument::TKept> before, std::vector<TWorldDocument::TKept> after)
        : QUndoCommand(text), document_(document), place_(place), before_(std::move(before)),
          after_(std::move(after)) {}

    void undo() override { document_.Put(after_, before_, place_); }
    void redo() override {
        // The first redo is the push: the edit has been made already.
        if (done_)
            document_.Put(before_, after_, place_);
        done_ = true;
    }

private:
    TWorldDocument& document_;
    TStepPlace place_;
    std::vector<TWorldDocument::TKept> before_, after_;
    bool done_ = false;
};

TWorldDocument::TWorldDocument(QObject* parent) : QObject(parent), stack_(new QUndoStack(this)) {
    stack_->setUndoLimit(kUndoLimit);
}

std::vector<TWorldDocument::TKept>
TWorldDocument::Capture(const TStepPlace& place, const std::vector<int32_t>& numbers) const {
    std::vector<TKept> kept;
    for (const int32_t number : numbers) {
        TZone* zone = place.Zone && place.Zone->ZoneNumber == number ? place.Zone
                                                                     : world_.FindZone(number);
        kept.push_back({zone, CaptureZone(world_, number, zone)});
    }
    return kept;
}

bool TWorldDocument::Change(const TStepPlace& place, const QString& text,
                            const std::function<void()>& edit,
                            const std::vector<int32_t>& moreZones) {
    if (depth_ > 0) {
        edit();
        return true;
    }
    std::vector<int32_t> numbers;
    if (place.Zone)
        numbers.push_back(place.Zone->ZoneNumber);
    for (const int32_t number : moreZones)
        if (std::find(numbers.begin(), numbers.end(), number) == numbers.end())
            numbers.push_back(number);
    std::vector<TKept> before = Capture(place, numbers);
    ++depth_;
    edit();
    --depth_;
    std::vector<TKept> after = Capture(place, numbers);
    bool changed = false;
    for (size_t i = 0; i < before.size(); ++i) {
        // A zone touched for the first time was as its files are.
        if (before[i].Zone && !saved_.contains(before[i].Zone))
            saved_[before[i].Zone] = before[i].State.FilesHash;
        changed |= before[i].State.FilesHash != after[i].State.FilesHash;
    }
    if (!changed)
        return false;
    Note(after);
    auto* step = new TZoneStep(*this, text, place, before, after);
    stack_->push(step);
    Announce(before, after, place, false);
    return true;
}

void TWorldDocument::Put(const std::vector<TKept>& from, const std::vector<TKept>& to,
                         const TStepPlace& place) {
    for (const TKept& kept : to)
        RestoreZone(world_, kept.State, kept.Zone);
    Note(to);
    Announce(from, to, place, true);
    emit restored(place);
}

void TWorldDocument::Note(const std::vector<TKept>& states) {
    for (const TKept& kept : states)
        if (kept.Zone)
            current_[kept.Zone] = kept.State.FilesHash;
}

void TWorldDocument::Announce(const std::vector<TKept>& from, const std::vector<TKept>& to,
                              const TStepPlace& place, bool restored) {
    TWorldChange change{place, restored, {}, {}};
    for (size_t i = 0; i < to.size(); ++i) {
        if (to[i].Zone)
            change.Zones.push_back(to[i].Zone);
        change.Diffs.push_back(DiffZoneStates(from[i].State, to[i].State));
    }
    emit changed(change);
    emit unsavedChanged();
}

std::vector<int32_t> TWorldChange::Numbers() const {
    std::vector<int32_t> numbers;
    for (const TZoneDiff& diff : Diffs)
        numbers.push_back(diff.Number);
    return numbers;
}

const TZoneDiff* TWorldChange::DiffOf(int32_t number) const {
    for (const TZoneDiff& diff : Diffs)
        if (diff.Number == number)
            return &diff;
    return nullptr;
}

bool TWorldDocument::IsUnsaved(const TZone* zone) const {
    const auto saved = saved_.find(zone);
    const auto current = current_.find(zone);
    return saved != saved_.end() && current != current_.end() && saved->second != current->second;
}

std::vector<TZone*> TWorldDocument::UnsavedZones() const {
    std::vector<TZone*> out;
    for (const auto& zone : world_.Zones)
        if (IsUnsaved(zone.get()))
            out.push_back(zone.get());
    // In the zone list's order.
    std::stable_sort(out.begin(), out.end(),
                     [](const TZone* a, const TZone* b) { return a->ZoneNumber < b->ZoneNumber; });
    return out;
}

void TWorldDocument::MarkSaved(TZone* zone) {
    const uint64_t hash = ZoneFilesHash(world_, zone->ZoneNumber, zone);
    saved_[zone] = hash;
    current_[zone] = hash;
    emit unsavedChanged();
}

TZone& TWorldDocument::AddZone(std::unique_ptr<TZone> zone) {
    TZone& added = world_.AddZone(std::move(zone));
    // Saved and current differ until a save: the zone counts as changed
    // whatever it holds (the first step puts its real hash into current).
    saved_[&added] = 0;
    current_[&added] = 1;
    emit zoneAdded(&added);
    emit unsavedChanged();
    return added;
}

void TWorldDocument::Normalize(TZone& zone) {
    const uint64_t before = ZoneFilesHash(world_, zone.ZoneNumber, &zone);
    saved_.try_emplace(&zone, before);
    NormalizeZone(world_, zone);
    current_[&zone] = ZoneFilesHash(world_, zone.ZoneNumber, &zone);
    emit unsavedChanged();
}

bool TWorldDocument::SetZoneRecord(const TStepPlace& place, const QString& text, TZone zone) {
    return place.Zone && Change(place, text, [&] { *place.Zone = std::move(zone); });
}

bool TWorldDocument::DeleteRecord(const TStepPlace& place, const QString& text, TRecordType type,
                                  int32_t vnum) {
    return Change(place, text, [&] {
        WithRecordList(world_, type, [vnum](auto& list) {
            const int index = list.IndexOfVNum(vnum);
            if (index >= 0)
                list.Delete(index);
        });
    }, {ZoneOf(vnum)});
}

bool TWorldDocument::DeleteUnparsed(const TStepPlace& place, const QString& text,
                                    TRecordType type, int32_t zone, int index) {
    return Change(place, text, [&] {
        WithRecordList(world_, type, [zone, index](auto& list) {
            const TFileFrame* kept = list.FrameOf(zone);
            if (!kept || index < 0 || static_cast<size_t>(index) >= kept->Unparsed.size())
                return;
            TFileFrame frame = *kept;
            frame.Unparsed.erase(frame.Unparsed.begin() + index);
            list.SetFrame(zone, frame);
        });
    }, {zone});
}

bool TWorldDocument::SetRooms(const TStepPlace& place, const QString& text,
                              std::vector<TRoom> rooms) {
    std::vector<int32_t> zones;
    for (const TRoom& room : rooms)
        zones.push_back(ZoneOf(room.VNum));
    return Change(place, text, [&] {
        for (TRoom& room : rooms) {
            TRoom* stored = world_.Rooms.Find(room.VNum);
            if (!stored)
                continue;
            if (IsOnGrid(*stored) &&
                world_.Map.At(stored->MapX, stored->MapY, stored->MapLevel) == stored->VNum)
                world_.Map.Set(stored->MapX, stored->MapY, stored->MapLevel, -1);
            *stored = std::move(room);
            if (IsOnGrid(*stored))
                world_.Map.Set(stored->MapX, stored->MapY, stored->MapLevel, stored->VNum);
        }
    }, zones);
}

TExitLayoutResult TWorldDocument::LayOutZone(const TStepPlace& place, const QString& text,
                                             int32_t zone, const TExitLayoutOptions& options) {
    TExitLayoutResult result;
    Change(place, text, [&] { result = LayOutFromExits(world_.Rooms, zone, options); }, {zone});
    return result;
}

bool TWorldDocument::ReadFile(const TStepPlace& place, TRecordType type, const std::string& path,
                              const TKindNameLookup& kindName) {
    if (type == TRecordType::Zone && !place.Zone)
        return false;
    return Change(place, ReadText(path), [&] {
        if (type == TRecordType::Zone)
            ReloadZoneFile(world_, *place.Zone, path);
        else if (type == TRecordType::Room)
            LoadRoomFileKeepingContents(world_, path);
        else
            LoadRecordFile(world_, type, path, kindName);
    }, FileZones(path));
}

bool TWorldDocument::ReadFileAgain(const TStepPlace& place, TZone& zone, TRecordType type,
                                   const TKindNameLookup& kindName) {
    const std::string path = ZoneFileOf(zone, type);
    return Change(place, ReadText(path), [&] {
        // The room reader empties the contents; the zone file brings them back.
        if (type == TRecordType::Room)
            world_.Rooms.LoadFromFile(path);
        if (type == TRecordType::Zone || type == TRecordType::Room)
            ReloadZoneFile(world_, zone, zone.ZoneFileName);
        else
            LoadRecordFile(world_, type, path, kindName);
    }, FileZones(path));
}

bool TWorldDocument::ReadZone(const TStepPlace& place, const QString& text, TZone& zone,
                              const TKindNameLookup& kindName,
                              const std::function<std::string(const std::string&)>& source,
                              bool fromEmpty) {
    bool whole = false;
    Change(place, text, [&] {
        if (fromEmpty) {
            TZoneState empty;
            empty.Number = zone.ZoneNumber;
            RestoreZone(world_, empty, nullptr);
        }
        whole = ReadWholeZone(world_, zone, kindName, source);
    }, {zone.ZoneNumber});
    return whole;
}

QString TWorldDocument::ReadText(const std::string& path) {
    return QStringLiteral("чтение файла ") +
           QString::fromStdString(std::filesystem::path(path).filename().string());
}

std::vector<int32_t> TWorldDocument::FileZones(const std::string& path) {
    std::vector<int32_t> zones;
    if (const auto named = ZoneOfFileName(path))
        zones.push_back(*named);
    return zones;
}

void TWorldDocument::LoadWorkspace(const std::string& dir, const TKindNameLookup& kindName) {
    Reset();
    emit cleared();
    world_.Clear();
    for (const std::string& folder : UnreadableFolders(dir))
        ReportFileError(FolderReadFailure(folder));
    // The open reader hides a zone file's failure, so it is reported here.
    std::map<const TZone*, std::string> failures;
    ::LoadWorkspace(world_, dir, kindName,
                    [&failures](const std::string& file, const TZone& zone, int line) {
                        const std::string& failure = failures[&zone] = ZoneLoadFailure(file, line);
                        ReportFileError(failure);
                    },
                    [this](size_t done, size_t total) {
                        emit readProgress(static_cast<int>(done), static_cast<int>(total));
                    });
    emit loaded(failures);
}

void TWorldDocument::Reset() {
    stack_->clear();
    saved_.clear();
    current_.clear();
    emit unsavedChanged();
}
