#pragma once

#include <QLineEdit>

// Which characters a field takes from the keyboard. Every filter lets the
// blank, the digits and the control characters through.
enum class KeyFilter {
    Any,
    Digits,
    DigitsAsterisk,
    DigitsAsteriskColon,
    DigitsMinus,
    CounterCode, // the first field of a counter line: digits; "+" is not typed
                 // but asks for settlement
};

// An input field of the screen pattern: on focus its whole text is selected
// so that typing replaces it; only Enter confirms it; its key filter drops
// every character it does not take, typed or pasted; its limit counts
// characters.
class EntryField : public QLineEdit {
    Q_OBJECT
public:
    EntryField(const QString& name, int maxLength, KeyFilter filter, QString prompt,
               QWidget* parent = nullptr);

    const QString& prompt() const { return prompt_; }
    KeyFilter filter() const { return filter_; }
    // The most characters the field holds (0: no limit). A character is what
    // the operator sees: one outside the basic plane (𠮷, an emoji) counts
    // once and is never cut in two, whether typed, pasted or set.
    int limit() const { return limit_; }
    bool accepts(QChar c) const;
    // After a failed check: the focus stays here with the text selected, so
    // the next keystroke replaces it, and the focus step runs again.
    void giveBack();

signals:
    void focused();
    void entered();
    void plusPressed();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString prompt_;
    KeyFilter filter_;
    int limit_;
};
