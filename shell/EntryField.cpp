#include "shell/EntryField.h"

#include "data/Conversions.h"

#include <QKeyEvent>
#include <QValidator>

namespace {
// Every change of the text passes here, typed, pasted, dropped or set by the
// program: characters the filter does not take refuse the change, and a text
// past the limit loses the characters that just arrived (those before the
// cursor), whole characters only, so a character outside the basic plane is
// never cut in two.
class FieldValidator : public QValidator {
public:
    explicit FieldValidator(EntryField* field) : QValidator(field), field_(*field) {}
    State validate(QString& input, int& pos) const override
    {
        for (const QChar c : input) {
            if (!field_.accepts(c))
                return Invalid;
        }
        qsizetype excess = Conversions::charCount(input) - field_.limit();
        if (field_.limit() <= 0 || excess <= 0)
            return Acceptable;
        qsizetype start = pos;
        for (; excess > 0 && start > 0; --excess)
            start -= startsPair(input, start - 2) ? 2 : 1;
        input.remove(start, pos - start);
        pos = static_cast<int>(start);
        for (; excess > 0; --excess)
            input.chop(startsPair(input, input.size() - 2) ? 2 : 1);
        pos = std::min(pos, static_cast<int>(input.size()));
        return Acceptable;
    }

private:
    static bool startsPair(const QString& text, qsizetype at)
    {
        return at >= 0 && at + 1 < text.size() && text[at].isHighSurrogate() &&
               text[at + 1].isLowSurrogate();
    }
    const EntryField& field_;
};
} // namespace

EntryField::EntryField(const QString& name, int maxLength, KeyFilter filter, QString prompt,
                       QWidget* parent)
    : QLineEdit(parent), prompt_(std::move(prompt)), filter_(filter), limit_(maxLength)
{
    setObjectName(name);
    // The line edit's own limit counts UTF-16 halves; the validator counts
    // characters instead.
    setValidator(new FieldValidator(this));
    if (filter_ != KeyFilter::Any) {
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
    case KeyFilter::CounterCode:
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
        if (filter_ == KeyFilter::CounterCode && c == u'+') {
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
