#pragma once
// The commands that the link thread answers itself, from the records the
// core keeps in shared memory, without waiting for the core:
//
//   16  shift state: 13 unless the factory data is valid; else 29 bytes:
//       shift open (1 byte, 1 or 0), shift number (u16), receipts of the
//       shift (u16), the 24-byte CycleStatus
//   48  device status: first a printer status query (command 192) through
//       the core; then 13 unless the factory data is valid; else the factory
//       number (up to 10 bytes) and the 21-byte StatusStruct, whose byte 3 is
//       set to 50 first
//   49  factory data: 13 unless valid; else its first 44 bytes
//   50  device key: 25 while it is empty; else 00 01 00, 3E and seven zero
//       bytes, then the 16 key bytes
//   51  software version: 00 01 00
//   68  one registration tag (u16 request): 22 unless exactly 2 bytes, 38
//       unless the registration data is valid; else the tagged value, or
//       nothing for a tag the record does not serve
//
// The status records are copied under one hold of the status lock; the
// identity records and the key are taken through their accessors (the
// identity lock is held only to copy a pointer or the key).

#include "state/queue.h"
#include "state/transaction.h"

// True when `t` is a link-served command; `result` then holds its answer,
// with the request's identifier. `core` is the queue to the core for the
// commands that have the core act first; null when no core runs (the
// link-only mode), and those commands then skip that step.
bool serveLinkCommand(const CoreTransaction& t, CoreApiResult& result, IProcessingQueue* core);
