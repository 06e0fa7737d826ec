#pragma once

#include "data/Database.h"
#include "pos/Receipt.h"
#include "pos/ReceiptPosting.h"

#include <variant>

// A posted receipt read back from its records, for a copy a customer asks
// for later. It is rebuilt from what the counter stored, so that the copy
// shows what the original showed; the rates of reduced lines and the
// registration number are today's settings.
namespace StoredReceipt {

// Nothing when the header is missing or has no lines.
using Found = std::variant<std::monostate, FinishedSale, FinishedCashMovement>;

// `table` is the header table the receipt was posted to: MOMURA for sales
// and returns, MOMNYK for deposits, MOMSYK for payments.
DbResult read(Database& db, const QString& table, const ReceiptKey& key, Found& out);

} // namespace StoredReceipt
