#pragma once

#include "data/DatabaseSettings.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <csignal>
#include <cstdlib>

// The throw-away PostgreSQL cluster a bench starts when it is given no
// server of its own. It is stopped and removed however the run ends, also
// after Ctrl-C, so that no cluster is left running on a shared machine.
// The bench's target defines MUK4_SOURCE_DIR to find tools/pgcluster.
namespace Cluster {

inline QString& running()
{
    static QString socketFolder;
    return socketFolder;
}

inline void stop()
{
    if (!running().isEmpty())
        QProcess::execute(QStringLiteral(MUK4_SOURCE_DIR "/tools/pgcluster"),
                          {QStringLiteral("stop"), running()});
    running().clear();
}

// Starts the cluster listening in `socketFolder`, once per run.
inline bool start(const QString& socketFolder)
{
    std::atexit(stop);
    std::signal(SIGINT, [](int) { std::exit(130); });
    std::signal(SIGTERM, [](int) { std::exit(143); });
    running() = socketFolder;
    return QProcess::execute(QStringLiteral(MUK4_SOURCE_DIR "/tools/pgcluster"),
                             {QStringLiteral("start"), socketFolder}) == 0;
}

// Makes `programFolder` a program folder whose MUK4.ini names the running
// cluster's database, as the register `registerCode` when one is given.
inline bool writeSettings(const QString& programFolder, const QString& registerCode = {})
{
    QDir().mkpath(programFolder);
    QFile ini(QDir(programFolder).filePath(QLatin1String(DatabaseSettings::FileName)));
    QString text = QStringLiteral("[database]\nengine=postgresql\nhost=%1\nport=5432\n"
                                  "dbname=postgres\nuser=muk4\n")
                       .arg(running());
    if (!registerCode.isEmpty())
        text += QStringLiteral("[register]\ncode=%1\n").arg(registerCode);
    return ini.open(QIODevice::WriteOnly) && ini.write(text.toUtf8()) >= 0;
}

} // namespace Cluster
