#pragma once
// The command-line forms of what goes into fiscal documents: receipt kinds,
// document types, receipt items and the registration's taxes.

#include <string>

#include "host/documents.h"
#include "host/records.h"

namespace hosttool {

// "sale", "purchase", "return-sale", "return-purchase".
bool parseReceiptKind(const std::string& text, hostkit::ReceiptKind& kind);
// "registration", "shift-open", "shift-close", "receipt", "cash-in",
// "cash-out", "archive-close".
bool parseDocumentType(const std::string& text, hostkit::DocumentType& type);

// An item of a receipt: "NAME:PRICE[xQUANTITY][:key=value...]", as
// "Хлеб:45.50x2:section=1:tax=1:discount-sum=5.00:code=4600:unit=шт". Keys:
// section (1-20, default 1), tax (1-5, default 1), discount (a discount of
// the table, 1-20), discount-sum (an amount off), code, unit, extra (a line
// printed after the item). The name ends before the first field that reads
// as a price, so it may hold ':' itself. False with `error` saying why; the
// register's rules (positionProblem) are checked too.
bool parseItem(const std::string& text, hostkit::Position& item, std::string& error);

// A tax of the registration: "N:NAME:KIND:RATE", as "1:НДС 20%:on-top:20.00";
// N 1-5 gives `index` 0-4; KIND no-tax, contained or on-top; RATE a
// percentage below 100. False with `error` saying why.
bool parseTax(const std::string& text, int& index, hostkit::Tax& tax, std::string& error);

}  // namespace hosttool
