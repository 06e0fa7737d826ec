#pragma once

#include <QString>

#include <optional>

// Where the shop's database lives, as the optional MUK4.ini of the program
// folder says: the file MUK4.db beside the program (the default), or a
// database on a PostgreSQL server shared by the shop's registers. No
// password is ever kept here: the server's own password file (~/.pgpass)
// or peer authentication on its Unix socket stand in for it.
struct DatabaseSettings {
    enum class Engine { File, Server };

    static constexpr const char* FileName = "MUK4.ini";

    Engine engine = Engine::File;
    QString host; // a name, an address or a Unix-socket folder
    int port = 5432;
    QString dbname;
    QString user;
    QString sslmode; // empty: libpq's default
    // The register this program is ("01".."99"): on a server it tells apart
    // the registers sharing the shop's database; on the file, where the
    // stored "register" parameter names the register, it may be left out.
    QString registerCode;

    bool onServer() const { return engine == Engine::Server; }
    // "host:port", as the operator is told where the server should be.
    QString place() const;
    // The options libpq takes (sslmode, connect timeout), in Qt's form.
    QString connectOptions() const;

    // Reads MUK4.ini of the folder. Without the file the settings are the
    // file's; a malformed file gives the key at fault ("database/engine").
    static std::optional<QString> read(const QString& folder, DatabaseSettings& settings);
    // The settings of the current program folder, read once per folder;
    // a malformed file reads as the default (start-up refuses it first).
    static const DatabaseSettings& current();
    // Forgets what was read, after a test rewrote MUK4.ini or moved the folder.
    static void forget();
};
