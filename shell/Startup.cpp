#include "shell/Startup.h"

#include "data/Database.h"
#include "data/Schema.h"
#include "shell/Navigator.h"

#include <QDir>
#include <QLockFile>
#include <QMessageBox>

namespace {
// Held for as long as the navigator lives: the program that holds it is the
// one allowed to work on the folder's database.
class FolderLock : public QObject {
public:
    FolderLock(const QString& path, QObject* parent) : QObject(parent), file_(path)
    {
        // Never stale by age, only when the program that took it is gone.
        file_.setStaleLockTime(0);
    }
    bool take() { return file_.tryLock(0); }

private:
    QLockFile file_;
};

void refuse(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("MESSAGE"), text, QMessageBox::Ok);
    box.exec();
}
} // namespace

QString lockFilePath()
{
    return Database::lockFilePath(Database::folder());
}

bool startProgram(Navigator& navigator)
{
    // Two programs on one database would silently lose each other's
    // changes, and two first starts would race to make the file.
    auto* lock = new FolderLock(lockFilePath(), &navigator);
    if (!lock->take()) {
        delete lock;
        refuse(QStringLiteral("MUK4 は既に起動しています。\n%1")
                   .arg(QDir::toNativeSeparators(Database::folder())));
        return false;
    }
    if (const auto reason = Schema::prepareFile()) {
        delete lock;
        refuse(QStringLiteral("データベースファイルを使用できません。\n%1\n%2")
                   .arg(Database::filePath(), *reason));
        return false;
    }
    navigator.show(QStringLiteral("MUK4SC01"));
    return true;
}
