#include "shell/EntryField.h"

#include <QKeyEvent>
#include <QValidator>

namespace {
// Keeps pasted text to the same characters the keyboard filter lets through.
class FilterValidator : public QValidator {
public:
    explicit FilterValidator(EntryField* field) : QValidator(field), field_(*field) {}
    State validate(QString& input, int&) const override
    {
        for (const QChar c : input) {
            if (!field_.accepts(c))
                return Invalid;
        }
        return Acceptable;
    }

private:
    const EntryField& field_;
};
} // namespace

EntryField::EntryField(const QString& name, int maxLength, KeyFilter filter, QString prompt,
                       QWidget* parent)
    : QLineEdit(parent), prompt_(std::move(prompt)), filter_(filter)
{
    setObjectName(name);
    if (maxLength > 0)
        setMaxLength(maxLength);
    if (filter_ != KeyFilter::Any) {
        setValidator(new FilterValidator(this));
        // Digits come from the keys or the scanner, never from an input method.
        setAttribute(Qt::WA_InputMethodEnabled, false);
        setInputMethodHints(Qt::ImhDigitsOnly);
    }
}

bool EntryField::accepts(QChar c) const
{
    const char16_t u = c.unicode();
    if (u == 8 || u == 9 || u == 10 || u == u' ' || (u >= u'0' && u <= u'9'))
        return true;
    switch (filter_) {
    case KeyFilter::Any:
        return true;
    case KeyFilter::Digits:
    case KeyFilter::ProductCode:
        return false;
    case KeyFilter::DigitsAsterisk:
        return u == u'*';
    case KeyFilter::DigitsAsteriskColon:
        return u == u'*' || u == u':';
    case KeyFilter::DigitsMinus:
        return u == u'-';
    }
    return false;
}

void EntryField::giveBack()
{
    setFocus();
    selectAll();
    emit focused();
}

void EntryField::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    selectAll();
    emit focused();
}

void EntryField::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit entered();
        return;
    }
    const QString text = event->text();
    if (text.size() == 1 && !text.front().isNull()) {
        const QChar c = text.front();
        if (filter_ == KeyFilter::ProductCode && c == u'+') {
            event->accept();
            emit plusPressed();
            return;
        }
        if (c.unicode() >= 32 && !accepts(c)) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}
