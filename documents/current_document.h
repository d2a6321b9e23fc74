#pragma once
// The one document being built, shared by every document command for the
// life of the process, and the documents lock that guards it. The device
// status field openDocumentType mirrors it at all times: it is written in
// the same hold of the documents lock that changes the document.
//
// Lock order: the documents lock first, then the status lock (taken inside
// the status operations); never the other way round.

#include <memory>

#include "common/thread_annotations.h"
#include "documents/base_work_document.h"
#include "state/status.h"

class CurrentDocument {
  public:
    // Empty; `status` is where openDocumentType is mirrored.
    explicit CurrentDocument(FrStatus::Store& status = FrStatus::status());
    CurrentDocument(const CurrentDocument&) = delete;
    CurrentDocument& operator=(const CurrentDocument&) = delete;

    // The documents lock. A command holds it for as long as it works on the
    // open document; the operations below require it.
    Mutex lock;

    // The open document; null when none is open.
    const std::shared_ptr<BaseWorkDocument>& get() const REQUIRES(lock) { return document_; }

    // Makes `document` the open one; openDocumentType := its type.
    void set(std::shared_ptr<BaseWorkDocument> document) REQUIRES(lock);

    // Hands the open document out and leaves none open (openDocumentType
    // := 0): the document has been stored.
    std::shared_ptr<BaseWorkDocument> take() REQUIRES(lock);

    // Discards the open document, if any; openDocumentType := 0.
    void drop() REQUIRES(lock);

    // The process's open document, empty before main runs.
    static CurrentDocument& process();

  private:
    FrStatus::Store& status_;
    std::shared_ptr<BaseWorkDocument> document_ GUARDED_BY(lock);
};
