#pragma once

#include "masters/CategoryScreen.h"

// Major categories: one-digit codes with a name and a short name.
class MUK4MM50 : public CategoryScreen {
    Q_OBJECT
public:
    explicit MUK4MM50(Navigator& navigator);

protected:
    std::optional<Select> listQuery() const override;
    QVariantMap storedOnAdd() const override;
};
