#pragma once
// What the document subcommands print: the register's answer to a close,
// and what became of a document that failed half-way.

#include "host/documents.h"
#include "host/tool/cli.h"

namespace hosttool {

// The close reply in words: number, fiscal sign, date and time, and what
// the document's kind adds (shift, receipt number, total, change, drawer).
Fields closeReplyFields(const hostkit::CloseReply& reply);

// Cancels the open document (command 6) after a step of it was refused, so
// that the register does not keep half a document; {"cancelled": true} when
// it did, false when the register had dropped the document already.
Fields cancelOpenDocument(Context& ctx);

// Reports a refused or failed step of a document that is open: a refusal
// cancels the document first; after a failure of the line nothing more is
// sent (`document state` tells what is open).
template <typename T>
int abandonDocument(Context& ctx, const hostkit::Result<T>& failure) {
    if (!failure.refusal()) return ctx.failed(failure);
    return ctx.failed(failure, cancelOpenDocument(ctx));
}

}  // namespace hosttool
