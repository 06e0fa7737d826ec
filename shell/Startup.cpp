#include "shell/Startup.h"

#include "data/Database.h"
#include "data/DatabaseSettings.h"
#include "data/Parameters.h"
#include "data/ProgramLock.h"
#include "data/Schema.h"
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

// On a server, held for as long as the program runs: a restore waits for
// no running program and refuses while there is one. The register's own lock
// keeps a second copy of the same register off the database; both go with
// the connection, so a register that was killed or cut off starts again at
// once.
class ServerPresence : public QObject {
public:
    explicit ServerPresence(QObject* parent) : QObject(parent) {}
    DbResult take()
    {
        if (DbResult r = db.open(); !r.ok())
            return r;
        return db.execute(QStringLiteral("SELECT pg_advisory_lock_shared(?)"),
                          {Database::RunningLockKey});
    }
    DbResult takeRegister(bool& taken)
    {
        std::optional<Parameter> store;
        if (DbResult r = Parameters::read(db, QStringLiteral("store"), store); !r.ok())
            return r;
        const int storeNumber = store ? store->first.trimmed().toInt() : 0;
        const int registerNumber = DatabaseSettings::current().registerCode.toInt();
        QList<QVariantList> rows;
        if (DbResult r = db.select(QStringLiteral("SELECT pg_try_advisory_lock(?, ?)"),
                                   {storeNumber, registerNumber}, rows);
            !r.ok())
            return r;
        taken = rows.value(0).value(0).toBool();
        if (!taken)
            return {};
        return Parameters::prepareRegister(db);
    }
    Database db;
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
        auto* presence = new ServerPresence(&navigator);
        bool taken = false;
        if (DbResult r = presence->take(); !r.ok() || !(r = presence->takeRegister(taken)).ok()) {
            delete presence;
            delete lock;
            refuse(QStringLiteral("データベース サーバーに接続できません（%1）。")
                       .arg(DatabaseSettings::current().place()));
            return false;
        }
        if (!taken) {
            delete presence;
            delete lock;
            refuse(QStringLiteral("レジ %1 は既に起動しています。")
                       .arg(DatabaseSettings::current().registerCode));
            return false;
        }
    }
    navigator.show(QStringLiteral("MUK4SC01"));
    return true;
}
