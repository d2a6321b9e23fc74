#pragma once
// DocumentsWorker: the host commands that build fiscal documents. A fresh
// worker serves one request on the core thread and keeps nothing; the one
// document being built is the process's CurrentDocument, which every
// document command shares.
//
//   6       cancel the open document; "ДОКУМЕНТ ОТМЕНЕН" is printed
//   7       add one tagged value to the open document
//   8 17 19 21 24 162 164   open a document (cashier prefix, open data)
//   9 18 20 22 25 163 165   close, store and print the open document
//           (close data) -> its closeReply
//   32      print a preview of the open registration report, unstored
//   176     the open document's stateReply
//
// A reply of 37 carries the missing tag, u16 LE. The worker borrows the
// archive (null without a card) and the printer port; "printing" is a job
// sent with the printer's status check, whose 53 or 54 is the answer.
//
// Locks: the documents lock (CurrentDocument::lock), then the status lock
// inside the status operations. Add, State and Preview hold the documents
// lock for their whole run, Close from its checks through the store; Open
// and Cancel only to set or clear the document.

#include <functional>

#include "config/base_worker.h"
#include "documents/after_store.h"
#include "documents/current_document.h"
#include "serial/serialport.h"
#include "state/command_table.h"
#include "state/transaction.h"
#include "storage/document_archive.h"

class DocumentsWorker : public BaseWorker {
  public:
    DocumentsWorker(DocumentArchive* archive, rs::SerialPort* printer, BodyPrinter body,
                    CurrentDocument& current = CurrentDocument::process());

    // Checks in order: the cashier prefix (19, 18), the model record (13),
    // the clock (23), no open document (28), the cashier's rights for the
    // type (16), the device check of the type, the printer; then the
    // document is made (3 when it cannot be) and takes the open data (its
    // refusal is the answer). It becomes the open document and its header
    // is printed; a failed print drops it again.
    CoreApiResult open(const CoreTransaction& t);

    // No open document: 29. The data is decoded as one tagged value, even
    // when malformed (too short: tag 0; a wrong length: an empty value), so
    // that the document refuses it. A refusal, or a failed print of the
    // added line, drops the document.
    CoreApiResult add(const CoreTransaction& t);

    // 29 without a document, 30 for another type, 23 for the clock. A
    // printer fault drops the document. A registration record without a
    // number takes the archive's identifier. A failed close or store keeps
    // the document open to be corrected or cancelled; once stored it is no
    // longer open, the status follows it, and its body and footer are
    // printed (their print results are not the answer).
    CoreApiResult close(const CoreTransaction& t);

    // 29 without a document; the notice's print result is not the answer.
    CoreApiResult cancel(const CoreTransaction& t);

    // 29 without a document.
    CoreApiResult state(const CoreTransaction& t);

    // A registration report closed and numbered on a clone, with the totals
    // since the last registration when there was one, and printed under
    // "ПРЕДВАРИТЕЛЬНАЯ ПЕЧАТЬ"; the open document stays as it was. 29, 30,
    // 23 as close, then the clone's close result (37 with its tag).
    CoreApiResult preview(const CoreTransaction& t);

  private:
    // Opens the port when needed; the status a job starts on (a silent
    // printer is reset first: printing::statusBeforeJob).
    ResultCode printerStatus();
    // One print job with the status check: 0, 53 or 54.
    ResultCode print(std::string_view text);
    // The archive's identifier, put into a registration record that has no
    // number yet.
    void numberRegistration(BaseWorkDocument& document);

    DocumentArchive* archive_;
    rs::SerialPort* printer_;
    BodyPrinter body_;
    CurrentDocument& current_;
};

// The rows of every document command. Each request gets a fresh worker with
// the archive `archive` gives at that moment, the printer port, and the
// counter bodies printed after a closing document.
void addDocumentCommands(CommandTable& table, std::function<DocumentArchive*()> archive,
                         rs::SerialPort& printer, BodyPrinter body);
