#pragma once

#include "data/Database.h"
#include "data/Parameters.h"

// The main menu's header: the parameters it shows, the business day it opens
// or continues, and the receipt period it keeps.
namespace BusinessDay {

// The keys the main menu reads when it is loaded.
QStringList headerKeys();

struct Header {
    QString businessDate; // Text1
    QString company;      // Text2
    QString store;        // Text3: code " / " name
    QString registerCode; // Text4
    QString nextReceipt;  // Text5: empty when there is no receipt counter
    QString staff;        // Text6: code " / " name
    QString taxRate;      // Text7
    QString storeCode;
    QString registerValue;
};

// Opens a new business day when the last one was closed ("NLEND"), keeps
// an open one whatever the clock says, starts a new receipt period when the
// business date's period differs from the stored one, and fills the header.
DbResult assign(Database& db, const Parameters& loaded, Header& header);

// The normal end of the program closes the business day.
DbResult close(Database& db);

} // namespace BusinessDay
