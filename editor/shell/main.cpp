// Velmora Editor: the world editor of the Velmora MUD.

#include "errorreporter.h"
#include "mainform.h"
#include "recovery.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora Editor"));

    // Qt's own texts (context menus of the edits, file dialogs) in Russian.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    TPromptErrorReporter reporter;
    SetErrorReporter(&reporter);

    TMainForm form;
    if (!form.Recovery->Held())
        return 1; // another editor works from this program folder; the builder was told
    form.show();
    const int status = QApplication::exec();
    SetErrorReporter(nullptr);
    return status;
}
