#include "app/startup.h"
#include "shell/futama.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app::prepareProgram();

    // The program ends with the main window, also while user management,
    // opened on its own at start-up, is still open.
    shell::fUtama window;
    QObject::connect(&window, &shell::fUtama::closedForGood, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    window.start();
    return QApplication::exec();
}
