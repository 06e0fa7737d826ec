#include "data/DatabaseSettings.h"

#include "data/Database.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace {
struct Remembered {
    QString folder;
    DatabaseSettings settings;
    bool read = false;
};

Remembered& remembered()
{
    static Remembered r;
    return r;
}

const QStringList sslModes{"disable", "allow", "prefer", "require", "verify-ca", "verify-full"};
} // namespace

QString DatabaseSettings::place() const
{
    return host + u':' + QString::number(port);
}

QString DatabaseSettings::connectOptions() const
{
    // A server that does not answer is reported within seconds, not after
    // the system's long TCP time-out.
    QString options = QStringLiteral("connect_timeout=5;application_name=MUK4");
    if (!sslmode.isEmpty())
        options += QStringLiteral(";sslmode=") + sslmode;
    return options;
}

std::optional<QString> DatabaseSettings::read(const QString& folder, DatabaseSettings& settings)
{
    settings = {};
    const QString path = QDir(folder).filePath(QString::fromLatin1(FileName));
    if (!QFileInfo::exists(path))
        return std::nullopt;
    if (!QFileInfo(path).isReadable())
        return QStringLiteral("%1").arg(QString::fromLatin1(FileName));
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        return QString::fromLatin1(FileName);
    // Read before the engine, so that a wrong code is refused on the file too.
    const QVariant code = ini.value(QStringLiteral("register/code"));
    settings.registerCode = code.toString().trimmed();
    static const QRegularExpression twoDigits(QStringLiteral("^[0-9]{2}$"));
    if (code.isValid() &&
        (!twoDigits.match(settings.registerCode).hasMatch() || settings.registerCode == u"00"))
        return QStringLiteral("register/code");
    ini.beginGroup(QStringLiteral("database"));
    const auto text = [&ini](const char* key) {
        return ini.value(QLatin1String(key)).toString().trimmed();
    };
    const QString engine = text("engine").toLower();
    if (engine.isEmpty() && !ini.contains(QStringLiteral("engine")) && ini.childKeys().isEmpty())
        return std::nullopt;
    if (engine == u"sqlite")
        return std::nullopt;
    if (engine != u"postgresql")
        return QStringLiteral("database/engine");
    // A password would sit in a plain file readable by anyone at the counter.
    if (ini.contains(QStringLiteral("password")))
        return QStringLiteral("database/password");
    settings.engine = Engine::Server;
    settings.host = text("host");
    settings.dbname = text("dbname");
    settings.user = text("user");
    settings.sslmode = text("sslmode");
    if (settings.host.isEmpty())
        return QStringLiteral("database/host");
    if (ini.contains(QStringLiteral("port"))) {
        bool number = false;
        settings.port = text("port").toInt(&number);
        if (!number || settings.port < 1 || settings.port > 65535)
            return QStringLiteral("database/port");
    }
    if (settings.dbname.isEmpty())
        return QStringLiteral("database/dbname");
    if (settings.user.isEmpty())
        return QStringLiteral("database/user");
    if (!settings.sslmode.isEmpty() && !sslModes.contains(settings.sslmode))
        return QStringLiteral("database/sslmode");
    // Registers sharing a server would otherwise post under one number.
    if (settings.registerCode.isEmpty())
        return QStringLiteral("register/code");
    return std::nullopt;
}

const DatabaseSettings& DatabaseSettings::current()
{
    Remembered& r = remembered();
    const QString folder = Database::folder();
    if (!r.read || r.folder != folder) {
        r.folder = folder;
        r.read = true;
        if (read(folder, r.settings))
            r.settings = {};
    }
    return r.settings;
}

void DatabaseSettings::forget()
{
    remembered().read = false;
}
