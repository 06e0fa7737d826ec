// Puts a backup made on the backup screen back as the shop's database: the
// file of the program folder, or the server database its MUK4.ini names.
//
//   muk4-restore BACKUPFILE PROGRAMFOLDER
//
// Exit status: 0 restored, 1 nothing changed (the reason is printed),
// 2 wrong use.

#include "utilities/Restore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: muk4-restore BACKUPFILE PROGRAMFOLDER\n");
        return 2;
    }
    const Restore::Outcome outcome =
        Restore::run(arguments[1], arguments[2], [](const QString& step) {
            std::printf("%s …\n", qUtf8Printable(step));
            std::fflush(stdout);
        });
    std::fprintf(outcome.done ? stdout : stderr, "%s\n", qUtf8Printable(outcome.text));
    return outcome.done ? 0 : 1;
}
