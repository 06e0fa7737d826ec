#pragma once

#include <QList>

// The lines of the open transaction of a counter screen, numbered from 1.
// The next line number is one past the last line; a line is changed in place
// and never removed (a quantity or amount of 0 cancels it in effect).
template <class Line> class LineList {
public:
    static constexpr int Capacity = 100;

    int count() const { return static_cast<int>(lines_.size()); }
    int next() const { return count() + 1; }
    bool full() const { return count() >= Capacity; }
    bool isEmpty() const { return lines_.isEmpty(); }
    const Line& at(int number) const { return lines_[number - 1]; }
    const QList<Line>& all() const { return lines_; }

    // Appends when number is the next line number, replaces a listed line
    // otherwise; false when the list is full or there is no such line.
    bool put(int number, const Line& line)
    {
        if (number == next()) {
            if (full())
                return false;
            lines_.append(line);
            return true;
        }
        if (number < 1 || number > count())
            return false;
        lines_[number - 1] = line;
        return true;
    }

    // The list as it would be with the line put in, to be checked before
    // the line is taken.
    LineList with(int number, const Line& line) const
    {
        LineList trial = *this;
        trial.put(number, line);
        return trial;
    }

    void clear() { lines_.clear(); }

private:
    QList<Line> lines_;
};
