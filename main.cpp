#include "ScreenRegistry.h"
#include "shell/Navigator.h"
#include "shell/Startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MUK4"));

    Navigator navigator;
    registerScreens(navigator);
    QObject::connect(&navigator, &Navigator::finished, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    if (!startProgram(navigator))
        return 1;
    return app.exec();
}
