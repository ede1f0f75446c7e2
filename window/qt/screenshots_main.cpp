// Renders the main window's two tabs, and the "Find firmware..." window over the samples
// folder searched for "sedan", to PNG files, offscreen, for the README. Run it from the
// checkout's root. Usage: canprog-screenshots OUTPUT_DIR [LANGUAGE_CODE]
#include <QDir>
#include <QTabWidget>
#include <cstdio>

#include "CanprogApplication.h"
#include "DesktopShell.h"
#include "FirmwareFinderDialog.h"
#include "TfrmMain.h"
#include "model/LanguageTables.h"
#include "model/MainForm.h"
#include "operations/FirmwareFinder.h"

int main(int argc, char** argv) {
    using namespace canprog;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    window::CanprogApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [LANGUAGE_CODE]\n", argv[0]);
        return 1;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    const char language = argc > 2 ? argv[2][0] : '1';

    window::DesktopShell shell;
    MainForm form(shell);
    window::TfrmMain mainWindow(form);
    startUp(form);
    if (language < '0' || language > '6') {
        std::fprintf(stderr, "the language code is 0 to 6\n");
        return 1;
    }
    form.languageCode = language;
    form.zmiana_jezyka(language);
    mainWindow.show();

    // English keeps the plain names; another language gets its own ("-de").
    const QString suffix =
        language == '1' ? QString()
                        : QStringLiteral("-") +
                              QString::fromLatin1(
                                  languageOfCode(language)->name.data(),
                                  static_cast<qsizetype>(languageOfCode(language)->name.size()));
    const char* names[] = {"programming-tab", "parameters-tab"};
    for (int page = 0; page < 2; ++page) {
        mainWindow.tabs()->setCurrentIndex(page);
        QApplication::processEvents();
        const QString path =
            output.filePath(QString::fromLatin1(names[page]) + suffix + QStringLiteral(".png"));
        if (!mainWindow.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 2;
        }
        std::printf("%s\n", qPrintable(path));
    }

    FirmwareFinder finder(form);
    finder.setFolder("samples");
    finder.setSearchText("sedan");
    window::FirmwareFinderDialog finderWindow(finder, &mainWindow);
    finderWindow.show();
    QApplication::processEvents();
    const QString path =
        output.filePath(QStringLiteral("find-firmware") + suffix + QStringLiteral(".png"));
    if (!finderWindow.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 2;
    }
    std::printf("%s\n", qPrintable(path));
    return 0;
}
