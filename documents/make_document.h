#pragma once
// The factory of documents: the one place that maps a type byte to its
// class, for the documents worker (a new document) and for the archive (a
// document rebuilt from its stored header and data).

#include <cstdint>
#include <memory>

#include "config/cashiers.h"
#include "config/model_data.h"
#include "config/reg_data.h"
#include "documents/base_work_document.h"
#include "storage/stored_document.h"

// A new document of `type` with copies of the records (null: a fresh one)
// and of the cashier: 1 FiscalizationDocument, 2 CloseCycleDoc, 3
// ReceiptDoc, 4 ArchiveCloseDoc, 5 CashCtrlDocument as cash in, 6 as cash
// out, 7 CycleOpenDocument. Null for any other type.
std::shared_ptr<BaseWorkDocument> makeDocument(std::uint8_t type, const ModelData* model,
                                               const RegData* registration, const Cashier& cashier);

// The factory the archive rebuilds documents with: makeDocument with a
// cashier record that holds only the cashier's number.
DocumentFactory documentFactory();
