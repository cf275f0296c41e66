#include "shell/installfolder.h"
#include "shell/moddapra.h"
#include "toolkit/form.h"
#include "toolkit/format.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirawe Dapra"));
    fmt::applyIndonesianLocale();

    try {
        install::setUpFirstRun();
    } catch (const db::Error& error) {
        moddapra::showError(error);
    }

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Mirawe Dapra"));
    auto* area = new QMdiArea(&window);
    window.setCentralWidget(area);
    ui::setMdiArea(area);
    window.showMaximized();
    return QApplication::exec();
}
