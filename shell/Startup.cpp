#include "shell/Startup.h"

#include "data/Database.h"
#include "data/Schema.h"
#include "shell/Navigator.h"

#include <QMessageBox>

bool startProgram(Navigator& navigator)
{
    if (const auto reason = Schema::prepareFile()) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("MESSAGE"),
                        QStringLiteral("データベースファイルを使用できません。\n%1\n%2")
                            .arg(Database::filePath(), *reason),
                        QMessageBox::Ok);
        box.exec();
        return false;
    }
    navigator.show(QStringLiteral("MUK4SC01"));
    return true;
}
