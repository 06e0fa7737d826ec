#include "ScreenRegistry.h"
#include "shell/Navigator.h"
#include "shell/Startup.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {
// For runs without anyone at the screen (the tests that start the real
// program): every message box is written to the error output and answered
// with OK, so that the program goes on exactly as after an operator's OK.
void answerMessagesUnattended(QApplication& app)
{
    auto* timer = new QTimer(&app);
    QObject::connect(timer, &QTimer::timeout, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        std::fprintf(stderr, "MESSAGE %s\n", qPrintable(box->text()));
        std::fflush(stderr);
        box->button(QMessageBox::Ok)->click();
    });
    timer->start(20);
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MUK4"));
    if (qEnvironmentVariableIsSet("MUK4_UNATTENDED"))
        answerMessagesUnattended(app);

    Navigator navigator;
    registerScreens(navigator);
    QObject::connect(&navigator, &Navigator::finished, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    if (!startProgram(navigator))
        return 1;
    return app.exec();
}
