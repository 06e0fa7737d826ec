#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <functional>

class Screen;

// Shows one screen at a time: the leaving screen is destroyed and the target
// is created afresh, so its loading and activation run every time.
class Navigator : public QObject {
    Q_OBJECT
public:
    using Factory = std::function<Screen*(Navigator&)>;

    void add(const QString& code, Factory factory);
    // Whether a screen is built; ways into a missing one are shown disabled.
    bool has(const QString& code) const { return factories_.contains(code); }

    void show(const QString& code);
    void end();
    Screen* current() const;

signals:
    void finished();

private:
    QHash<QString, Factory> factories_;
    QPointer<Screen> current_;
    QRect geometry_;
};
