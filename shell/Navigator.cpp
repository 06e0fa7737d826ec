#include "shell/Navigator.h"

#include "shell/Screen.h"

void Navigator::add(const QString& code, Factory factory)
{
    factories_.insert(code, std::move(factory));
}

void Navigator::show(const QString& code)
{
    const auto factory = factories_.constFind(code);
    if (factory == factories_.cend())
        return;
    if (current_) {
        geometry_ = current_->geometry();
        current_->hide();
        current_->deleteLater();
        current_ = nullptr;
    }
    Screen* screen = (*factory)(*this);
    current_ = screen;
    if (geometry_.isValid())
        screen->setGeometry(geometry_);
    else
        screen->resize(1024, 768);
    screen->show();
    screen->raise();
    screen->activateWindow();
    if (!screen->load()) {
        end();
        return;
    }
    screen->activate();
}

void Navigator::end()
{
    if (current_) {
        current_->hide();
        current_->deleteLater();
        current_ = nullptr;
    }
    emit finished();
}

Screen* Navigator::current() const
{
    return current_;
}
