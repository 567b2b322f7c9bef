#include "importcommand.h"

#include "configform.h"
#include "errorreporter.h"
#include "editorcontext.h"
#include "prompts.h"
#include "serverimport.h"
#include "textcodec.h"
#include "zonepage.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QProgressDialog>
#include <algorithm>

TImportCommand::TImportCommand(TEditorContext& main) : QObject(main.Window()), main_(main) {
}

void TImportCommand::Run() {
    const QString folder =
        Prompts().ChooseFolder(QStringLiteral("Папка мира сервера"), lastFolder_);
    if (folder.isEmpty())
        return;
    lastFolder_ = folder;
    const TServerWorld world = ListServerWorld(QFile::encodeName(folder).toStdString());
    if (world.Zones.empty()) {
        Prompts().Error(
            QStringLiteral("В папке %1 нет файлов мира сервера (zon, wld, obj, mob, shp, trg)")
                .arg(folder));
        return;
    }
    // The zones appear by reading the workspace again, which replaces what
    // is in memory.
    if (main_.ZonePage->ZoneCount() > 0 &&
        !Prompts().Confirm(QStringLiteral("Импорт перечитает рабочую папку: несохранённые "
                                          "изменения зон будут потеряны. Продолжить?")))
        return;
    if (main_.CurrentPage() != ZonePageIndex && !main_.GoToPage(ZonePageIndex))
        return;

    const std::string workspace = main_.ProgramFolder + "Zones/";
    TImportOptions options;
    // The server's code page is the one the export writes for it.
    options.CodePage =
        main_.ConfigForm->settings().Coding == 1 ? TServerCodePage::Cp1251 : TServerCodePage::Koi8r;
    const std::vector<int32_t> existing = ExistingZones(world, workspace, {});
    if (!existing.empty())
        options.Overwrite =
            Prompts().Confirm(QStringLiteral("В рабочей папке уже есть зоны: %1.\nПерезаписать их?")
                                  .arg(QString::fromStdString(ZoneNumberList(existing))));

    QProgressDialog progress(QStringLiteral("Импорт зон с сервера..."), QStringLiteral("Отмена"), 0,
                             1, main_.Window());
    progress.setObjectName(QStringLiteral("ImportProgress"));
    progress.setWindowTitle(QStringLiteral("Импорт с сервера"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.show();
    const TImportReport report =
        ImportServerWorld(world, workspace, options, [&progress](int done, int total) {
            progress.setMaximum(std::max(total, 1));
            progress.setValue(done);
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.close();
    if (report.Cancelled) {
        Prompts().Information(QStringLiteral("Импорт отменён, рабочая папка не изменена."));
        return;
    }

    TLoadReport load;
    for (const std::string& failure : report.Failures)
        load.AddFailure(FromCp1251(failure));
    if (!report.Imported.empty())
        main_.RescanWorkspace(load);
    QStringList summary;
    for (const std::string& line : ImportReportLines(report))
        summary << FromCp1251(line);
    main_.ShowLoadReport(summary, load);
}
