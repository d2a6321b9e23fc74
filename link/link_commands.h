#pragma once
// The commands that the link thread answers itself, from the records the
// core keeps in shared memory, without waiting for the core.

#include "core/queue.h"
#include "core/transaction.h"

// True when `t` is a link-served command; `result` then holds its answer,
// with the request's identifier. `queue` reaches the core where a command
// needs it to act first.
bool serveLinkCommand(const CoreTransaction& t, CoreApiResult& result, IProcessingQueue& queue);
