#include "data/ServerPresence.h"

#include "data/DatabaseSettings.h"
#include "data/Parameters.h"

#include <QThread>

ServerPresence::Outcome ServerPresence::take()
{
    bool taken = false;
    failure_ = db_.open();
    if (failure_.ok())
        failure_ = db_.execute(QStringLiteral("SELECT pg_advisory_lock_shared(?)"),
                               {Database::RunningLockKey});
    if (failure_.ok())
        failure_ = takeRegister(taken);
    if (!failure_.ok())
        return Outcome::Failed;
    if (!taken)
        return Outcome::RegisterRunning;
    failure_ = Parameters::prepareRegister(db_);
    return failure_.ok() ? Outcome::Taken : Outcome::Failed;
}

DbResult ServerPresence::takeRegister(bool& taken)
{
    std::optional<Parameter> store;
    if (DbResult r = Parameters::read(db_, QStringLiteral("store"), store); !r.ok())
        return r;
    const QVariantList key{store ? store->first.trimmed().toInt() : 0,
                           DatabaseSettings::current().registerCode.toInt()};
    // A register killed a moment ago still holds its lock until the server
    // has seen its connection close; a short wait lets it start again at
    // once, while a copy that is really running is refused after it.
    for (int attempt = 0; attempt < 20; ++attempt) {
        QList<QVariantList> rows;
        if (DbResult r = db_.select(QStringLiteral("SELECT pg_try_advisory_lock(?, ?)"), key, rows);
            !r.ok())
            return r;
        taken = rows.value(0).value(0).toBool();
        if (taken)
            return {};
        QThread::msleep(100);
    }
    return {};
}
