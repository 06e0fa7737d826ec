#include "shell/Startup.h"

#include "data/Database.h"
#include "data/DatabaseSettings.h"
#include "data/ProgramLock.h"
#include "data/Schema.h"
#include "data/ServerPresence.h"
#include "shell/Navigator.h"

#include <QDir>
#include <QMessageBox>

#include <cstring>

namespace {
// Held for as long as the navigator lives: the program that holds it is the
// one allowed to work on the folder's database.
class FolderLock : public QObject {
public:
    FolderLock(const QString& folder, QObject* parent) : QObject(parent), lock(folder) {}
    ProgramLock lock;
};

// The server hold lives as long as the navigator.
class Presence : public QObject {
public:
    explicit Presence(QObject* parent) : QObject(parent) {}
    ServerPresence hold;
};

void refuse(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("MESSAGE"), text, QMessageBox::Ok);
    box.exec();
}

QString cause(const FolderTrouble& trouble)
{
    switch (trouble.kind) {
    case FolderTrouble::Kind::DiskFull:
        return QStringLiteral("ディスクの空きがありません");
    case FolderTrouble::Kind::ReadOnly:
        return QStringLiteral("読み取り専用です");
    case FolderTrouble::Kind::Other:
    case FolderTrouble::Kind::None:
        break;
    }
    return QString::fromLocal8Bit(std::strerror(trouble.number));
}
} // namespace

bool startProgram(Navigator& navigator)
{
    // Settings that cannot be trusted stop the start before anything is
    // touched, rather than fall back to a database the shop did not mean.
    DatabaseSettings::forget();
    DatabaseSettings settings;
    if (const auto key = DatabaseSettings::read(Database::folder(), settings)) {
        refuse(QStringLiteral("MUK4.ini の設定が正しくありません（%1）。").arg(*key));
        return false;
    }
    // Two programs on one database would silently lose each other's
    // changes, and two first starts would race to make the file.
    auto* lock = new FolderLock(Database::folder(), &navigator);
    switch (lock->lock.take()) {
    case ProgramLock::Outcome::Taken:
        break;
    case ProgramLock::Outcome::HeldByAnother:
        delete lock;
        refuse(QStringLiteral("MUK4 は既に起動しています。\n%1")
                   .arg(QDir::toNativeSeparators(Database::folder())));
        return false;
    case ProgramLock::Outcome::CannotWrite:
        refuse(QStringLiteral("プログラムのフォルダーに書き込めません（%1）。\n%2")
                   .arg(cause(lock->lock.trouble()), QDir::toNativeSeparators(Database::folder())));
        delete lock;
        return false;
    }
    if (const auto message = Schema::prepareDatabase()) {
        delete lock;
        refuse(*message);
        return false;
    }
    if (DatabaseSettings::current().onServer()) {
        auto* presence = new Presence(&navigator);
        const ServerPresence::Outcome outcome = presence->hold.take();
        if (outcome != ServerPresence::Outcome::Taken) {
            delete presence;
            delete lock;
            refuse(outcome == ServerPresence::Outcome::RegisterRunning
                       ? QStringLiteral("レジ %1 は既に起動しています。").arg(settings.registerCode)
                       : QStringLiteral("データベース サーバーに接続できません（%1）。")
                             .arg(settings.place()));
            return false;
        }
    }
    navigator.show(QStringLiteral("MUK4SC01"));
    return true;
}
