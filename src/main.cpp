#include "app/forms.h"
#include "shell/futama.h"
#include "shell/installfolder.h"
#include "shell/moddapra.h"
#include "toolkit/format.h"

#include <QApplication>
#include <QFont>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirawe Dapra"));
    fmt::applyIndonesianLocale();
    // The windows' designed sizes are made for a small sans-serif font.
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));

    shell::setFormTable(app::formTable());
    try {
        install::setUpFirstRun();
    } catch (const db::Error& error) {
        moddapra::showError(error);
    }

    // The program ends with the main window, also while user management,
    // opened on its own at start-up, is still open.
    shell::fUtama window;
    QObject::connect(&window, &shell::fUtama::closedForGood, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    window.start();
    return QApplication::exec();
}
