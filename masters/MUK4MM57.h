#pragma once

#include "masters/ProductScreen.h"

// Special-price maintenance: the product screen set up for giving stored
// products a special price and taking it away again. Names stay as they
// are, and nothing is ever deleted or archived here.
class MUK4MM57 : public ProductScreen {
    Q_OBJECT
public:
    explicit MUK4MM57(Navigator& navigator);

protected:
    void productShown() override;
    void deleteClicked() override;
    // A special price never changes the tax class of a stored product; a
    // product added here gets the class on screen.
    QVariantMap storedAlways() const override;
    QVariantMap storedOnAdd() const override;
};
