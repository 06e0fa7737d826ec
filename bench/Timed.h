#pragma once

#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>

// Seconds a step of a benchmark took; a step that fails ends the run, since
// its time would measure nothing.
inline double timed(const std::function<bool()>& work)
{
    QElapsedTimer timer;
    timer.start();
    if (!work()) {
        std::fprintf(stderr, "failed\n");
        std::exit(1);
    }
    return timer.nsecsElapsed() / 1e9;
}
