// guibench: the editor's main window on the offscreen platform, timed as a
// builder uses it: start-up until the first zone is shown, a zone switch, a
// page switch, the next record on each page and a save of the zone. Each
// step is timed three times and the best is kept (the machine may be shared).
//
//   QT_QPA_PLATFORM=offscreen guibench PROGRAMDIR
//
// PROGRAMDIR is a laid-out program folder whose Zones/ is the workspace to
// measure. One line of "name seconds" pairs goes to standard output.

#include "filecommands.h"
#include "mainform.h"
#include "prompts.h"
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
        const double entered = BestOfThree([&] { form->GoToPage(ZonePageIndex); },
                                           [&] { form->GoToPage(page); });
        std::fprintf(stderr, "page %d switch %.3f\n", page, entered);
        pageSwitch = std::max(pageSwitch, entered);
        nextRecord = std::max(
            nextRecord, BestOfThree([&] { form->FirstRecord(); }, [&] { form->NextRecord(); }));
    }
    form->GoToPage(RoomPageIndex);
    const double saveZone = BestOfThree([] {}, [&] { form->FileCommands->SaveZone(); });
    std::printf("ready %.3f zone_switch %.3f page_switch %.3f next_record %.3f save_zone %.3f "
                "peak_kb %ld boxes %d\n",
                ready, zoneSwitch, pageSwitch, nextRecord, saveZone, PeakKilobytes(),
                prompts.Boxes);
    std::fflush(stdout);
    // The process ends here: the measured window needs no orderly teardown.
    std::_Exit(0);
}
