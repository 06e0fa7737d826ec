#include "data/Database.h"
#include "data/Schema.h"
#include "shell/Navigator.h"
#include "shell/ScreenRegistry.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MUK4"));

    if (const auto reason = Schema::prepareFile()) {
        QMessageBox::critical(nullptr, QStringLiteral("MESSAGE"),
                              QStringLiteral("データベースファイルを使用できません。\n%1\n%2")
                                  .arg(Database::filePath(), *reason));
        return 1;
    }

    Navigator navigator;
    registerScreens(navigator);
    QObject::connect(&navigator, &Navigator::finished, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    navigator.show(QStringLiteral("MUK4SC01"));
    return app.exec();
}
