#pragma once

#include "data/Database.h"

// A running program's hold on the shop's server, kept on a connection of its
// own for as long as the program runs. The shared running lock makes a
// restore wait for no running program; the register's own lock keeps a
// second copy of the same register off the database. Both go with the
// connection, so a register that was killed or cut off starts again at once.
class ServerPresence {
public:
    enum class Outcome { Taken, RegisterRunning, Failed };

    // Takes both locks and makes the register's own parameter records on its
    // first start.
    Outcome take();
    const DbResult& failure() const { return failure_; }

private:
    DbResult takeRegister(bool& taken);

    Database db_;
    DbResult failure_;
};
