#pragma once

#include "masters/ProductScreen.h"

// Product master: adds, changes and deletes products; a deleted product is
// kept in the archive.
class MUK4MM55 : public ProductScreen {
    Q_OBJECT
public:
    explicit MUK4MM55(Navigator& navigator);

protected:
    void afterDelete() override;
};
