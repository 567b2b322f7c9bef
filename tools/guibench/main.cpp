// guibench: the editor's main window on the offscreen platform, timed as a
// builder uses it: start-up until the first zone is shown, a zone switch, a
// page switch, the next record on each page, a save of the zone and one
// undoable edit (a room renamed through the document). Each
// step is timed three times and the best is kept (the machine may be shared).
// Last, one frame of the room map at its largest zoom over a level where
// every cell holds a named room (the best of many frames).
//
//   QT_QPA_PLATFORM=offscreen guibench PROGRAMDIR
//
// PROGRAMDIR is a laid-out program folder whose Zones/ is the workspace to
// measure. One line of "name seconds" pairs goes to standard output.

#include "filecommands.h"
#include "mainform.h"
#include "mappage.h"
#include "prompts.h"
#include "textcodec.h"
#include "world.h"
#include "worlddocument.h"
#include "zonepage.h"

#include <QApplication>
#include <QListWidget>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

namespace {

// Answers every question with yes; boxes only count.
class TBenchPrompts : public TPrompts {
public:
    explicit TBenchPrompts(std::string program) : program_(std::move(program)) {}
    void Error(const QString& text) override { Note(text); }
    void Information(const QString& text) override { Note(text); }
    bool Confirm(const QString&) override { return true; }
    int Choose(const QString&, const QStringList&, int) override { return 1; }
    QString OpenFile(const QString&, const QString&, const QList<TFileFilter>&) override {
        return {};
    }
    QString SaveFile(const QString&, const QString&, const QList<TFileFilter>&) override {
        return {};
    }
    QString ChooseFolder(const QString&, const QString&) override { return {}; }
    std::string ProgramFolder() override { return program_; }
    int Boxes = 0;

private:
    void Note(const QString& text) {
        if (++Boxes <= 3)
            std::fprintf(stderr, "box: %s\n", qPrintable(text));
    }
    std::string program_;
};

double Seconds(const std::function<void()>& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    QCoreApplication::processEvents();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double BestOfThree(const std::function<void()>& prepare, const std::function<void()>& step) {
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        prepare();
        QCoreApplication::processEvents();
        best = std::min(best, Seconds(step));
    }
    return best;
}

long PeakKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

// Level 1 of the grid filled with 100 x 100 rooms of their own, a zone of
// 100 rooms for each block of 10 x 10 cells (no zone holds more, so the rooms
// are put straight into the world and its grid): named, of every sector,
// most joined to their neighbours both ways, with some one way exits, exits
// far away, into other zones and doors, so every kind of exit is drawn. Room
// 98 of each zone is missing: the exits to it are broken.
void FillLevel(TWorld& world) {
    constexpr int32_t firstZone = 10000; // no workspace holds these zones
    const auto vnum = [](int x, int y) {
        return (firstZone + y / 10 * 10 + x / 10) * 100 + y % 10 * 10 + x % 10;
    };
    const std::string name = ToCp1251(QStringLiteral("Тропа у старой мельницы за рекой"));
    for (int y = 0; y < kMapSize; ++y)
        for (int x = 0; x < kMapSize; ++x) {
            if (vnum(x, y) % 100 == 98)
                continue;
            TRoom& room = world.Rooms.AddNew(vnum(x, y));
            room.Name = name + ' ' + std::to_string(x);
            room.Sector = static_cast<uint8_t>((x + y) % 14);
            room.MapX = static_cast<uint8_t>(x);
            room.MapY = static_cast<uint8_t>(y);
            room.MapLevel = 1;
            world.Map.Set(x, y, 1, room.VNum);
            const int k = y * kMapSize + x;
            if (x + 1 < kMapSize && k % 7 != 0)
                room.Exits[DirEast].ToRoom = vnum(x + 1, y);
            if (x > 0 && (k - 1) % 7 != 0)
                room.Exits[DirWest].ToRoom = vnum(x - 1, y);
            if (y + 1 < kMapSize)
                room.Exits[DirSouth].ToRoom = vnum(x, y + 1);
            if (y > 0 && k % 5 != 0)
                room.Exits[DirNorth].ToRoom = vnum(x, y - 1);
            if (k % 11 == 0)
                room.Exits[DirUp].ToRoom = 1200 + k % 90; // into another zone
            if (k % 13 == 0)
                room.Exits[DirDown].ToRoom = vnum((x + 3) % kMapSize, (y + 2) % kMapSize);
            if (k % 17 == 0)
                room.Exits[DirEast].ToRoom = vnum(x, y) / 100 * 100 + 98;
            if (k % 3 == 0)
                room.Exits[DirSouth].DoorFlags = 1;
        }
}

// The best time of one full frame of the map's grid, in milliseconds, with
// the window `size` large.
double MapFrameMilliseconds(TMainForm& form, const QSize& size) {
    form.resize(size);
    form.GoToPage(RoomPageIndex);
    auto& map = *form.findChild<TMapPage*>(QStringLiteral("MapPage"));
    map.SetLevel(1);
    TMapDrawGrid& grid = *map.MapDrawGrid;
    while (grid.Pitch() < TMapDrawGrid::kPitches.back())
        grid.Zoom(1);
    grid.ScrollTo(40, 40);
    QCoreApplication::processEvents();
    const QSize cells = grid.VisibleCells();
    std::fprintf(stderr, "map: %d x %d cells of %d pixels in view (window %d x %d, grid %d x %d)\n",
                 cells.width(), cells.height(), grid.Pitch(), form.width(), form.height(),
                 grid.viewport()->width(), grid.viewport()->height());
    double best = 1e9;
    for (int frame = 0; frame < 40; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        grid.viewport()->repaint();
        best = std::min(best, std::chrono::duration<double, std::milli>(
                                  std::chrono::steady_clock::now() - start)
                                  .count());
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    const auto started = std::chrono::steady_clock::now();
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: guibench PROGRAMDIR\n");
        return 2;
    }
    std::string program = argv[1];
    if (program.back() != '/')
        program += '/';
    TBenchPrompts prompts(program);
    SetPrompts(&prompts);

    // Ready: from the start of the process until the first zone is shown.
    auto* form = new TMainForm;
    form->show();
    QCoreApplication::processEvents();
    const double ready =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    TZonePage& zones = *form->ZonePage;
    if (zones.ZoneCount() < 2) {
        std::fprintf(stderr, "the workspace needs two zones at least\n");
        return 1;
    }
    const int last = zones.ZoneCount() - 1;
    const double zoneSwitch =
        BestOfThree([&] { zones.SelectRow(0); }, [&] { zones.SelectRow(last / 2); });
    double pageSwitch = 0;
    double nextRecord = 0;
    for (int page = RoomPageIndex; page <= TrigPageIndex; ++page) {
        const double entered =
            BestOfThree([&] { form->GoToPage(ZonePageIndex); }, [&] { form->GoToPage(page); });
        std::fprintf(stderr, "page %d switch %.3f\n", page, entered);
        pageSwitch = std::max(pageSwitch, entered);
        nextRecord = std::max(
            nextRecord, BestOfThree([&] { form->FirstRecord(); }, [&] { form->NextRecord(); }));
    }
    form->GoToPage(RoomPageIndex);
    const double saveZone = BestOfThree([] {}, [&] { form->FileCommands->SaveZone(); });
    // One undoable step through the document: a room of the zone renamed.
    TZone* zone = zones.CurrentZone();
    const TRoom* renamed = zone ? form->World().Rooms.Find(zone->ZoneNumber * 100) : nullptr;
    int steps = 0;
    const double editStep = !renamed ? 0 : BestOfThree([] {}, [&] {
        TRoom room = *renamed;
        room.Name += ++steps % 2 ? "a" : "b";
        form->Document->SetRecord(TStepPlace{zone, RoomPageIndex, room.VNum},
                                  QStringLiteral("bench"), std::move(room));
    });
    // The editor's own peak, before the map's frame fills a level with rooms
    // no workspace holds.
    const long peakKb = PeakKilobytes();
    // The window as large as a usual screen, then a 4K one.
    FillLevel(form->World());
    const double mapFrame = MapFrameMilliseconds(*form, {1920, 1200});
    const double mapFrame4k = MapFrameMilliseconds(*form, {3840, 2160});
    std::printf("ready %.3f zone_switch %.3f page_switch %.3f next_record %.3f save_zone %.3f "
                "peak_kb %ld boxes %d map_frame_ms %.2f map_frame_4k_ms %.2f edit_step %.3f\n",
                ready, zoneSwitch, pageSwitch, nextRecord, saveZone, peakKb, prompts.Boxes,
                mapFrame, mapFrame4k, editStep);
    std::fflush(stdout);
    // The process ends here: the measured window needs no orderly teardown.
    std::_Exit(0);
}
