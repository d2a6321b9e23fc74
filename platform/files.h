#pragma once
// The file seam. Every record file, the EEPROM image, the internal storage
// and the document archive are opened, read and written through here: the
// board's path mapping applies, and every write is one counted call that a
// test can make fail, or land only half of its bytes, as a power cut would.
// Reads and writes use buffered C streams, as on the board.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string_view>

#include "common/bytes.h"
#include "common/thread_annotations.h"

namespace platform {

// How far a write is carried before writeAt reports it done.
enum class Durability {
    buffered,  // handed to the stream
    flushed,   // the stream flushed to the system
    synced,    // flushed, then the file's data on the medium (fsync)
};

// True when the board path exists, whatever its type.
bool fileExists(std::string_view boardPath);

// fopen64 of the mapped board path; null on failure.
std::FILE* openFile(std::string_view boardPath, const char* mode);

// Closes a file opened with openFile; the result of fclose.
int closeFile(std::FILE* f);

// Reads up to n bytes at `offset` into p; the count read (0 when the seek
// fails).
std::size_t readAt(std::FILE* f, std::uint64_t offset, std::uint8_t* p, std::size_t n);

// Reads n bytes at `offset` into `out`, which is resized to n with the
// bytes that could not be read zero; true when all n were read.
bool readAt(std::FILE* f, std::uint64_t offset, std::size_t n, Bytes& out);

// Writes n bytes at `offset`, then flushes or syncs as `durability` asks;
// true when every byte was written and the flush or sync succeeded. Each
// call is one write of the write log.
bool writeAt(std::FILE* f, std::uint64_t offset, const std::uint8_t* p, std::size_t n,
             Durability durability);
inline bool writeAt(std::FILE* f, std::uint64_t offset, const Bytes& bytes, Durability durability) {
    return writeAt(f, offset, bytes.data(), bytes.size(), durability);
}

// Cuts the file at a board path to `size` bytes and syncs it; true when it
// was cut. Counted as one write of the write log.
bool truncateFile(std::string_view boardPath, std::uint64_t size);

// The size of an open file; -1 when it cannot be taken.
std::int64_t fileSize(std::FILE* f);

// The whole content of the file at a board path; false when it cannot be
// opened or read.
bool readWholeFile(std::string_view boardPath, Bytes& out);

// Creates the file at a board path whole or not at all: the content goes to
// a temporary file beside it, which is synced and then renamed over the
// path, and the directory is synced. True when the file holds the content;
// on failure the path is left as it was and the temporary file removed.
bool createFileWhole(std::string_view boardPath, const Bytes& content);

// Renames the file at board path `from` over `to` (one atomic step) and
// syncs the directory; true when the rename was made.
bool renamePath(std::string_view from, std::string_view to);

// Flushes the stream and then the file's data to the medium; false when
// either step failed.
bool syncFile(std::FILE* f);

// Creates the directory at the board path, one level only; true when a
// directory is there afterwards.
bool makeDirectory(std::string_view boardPath);

// Creates an empty file when nothing is at the board path (like touch),
// then syncs the file and its directory; true when it exists afterwards.
bool touchFile(std::string_view boardPath);

// Removes whatever is at the board path, recursively (like rm -rf), then
// syncs the directory that held it; true when nothing is there afterwards.
bool removePath(std::string_view boardPath);

// Owns a FILE* from openFile and closes it on scope exit.
class FileHandle {
  public:
    FileHandle(std::string_view boardPath, const char* mode) : f_(openFile(boardPath, mode)) {}
    ~FileHandle() {
        if (f_) closeFile(f_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    std::FILE* get() const { return f_; }
    explicit operator bool() const { return f_ != nullptr; }
    // Closes now; the result of fclose, or EOF when nothing was open.
    int close() {
        int rc = f_ ? closeFile(f_) : EOF;
        f_ = nullptr;
        return rc;
    }

  private:
    std::FILE* f_;
};

// The process's record of the writes made through writeAt, and the fault a
// test asked for. A power cut between two writes leaves exactly what the
// writes before it made; one in the middle of a write leaves part of it.
class WriteLog {
  public:
    enum class Fault {
        fail,  // nothing of the write lands, and it reports failure
        tear,  // the first half of its bytes land (flushed), and it reports failure
    };

    // Write calls and bytes asked for since the last reset.
    std::uint64_t writes() const;
    std::uint64_t bytes() const;

    // The `k`-th write from now (1 is the next one) meets `fault`. One fault
    // is pending at a time; it is used up when it strikes.
    void injectFault(std::uint64_t k, Fault fault);

    // The power goes at the `k`-th write from now: that write meets `fault`,
    // and every write after it lands nothing and fails, as on a board
    // without power, until restorePower.
    void cutPower(std::uint64_t k, Fault fault);
    void restorePower();
    // True once a cut asked for has struck.
    bool powerIsOff() const;

    // Counts back to zero, no fault pending and the power on.
    void reset();

    // Counts one write of n bytes; the fault it meets, if any.
    bool nextWrite(std::size_t n, Fault& fault);

    static WriteLog& process();

  private:
    mutable Mutex mutex_;
    std::uint64_t writes_ GUARDED_BY(mutex_) = 0;
    std::uint64_t bytes_ GUARDED_BY(mutex_) = 0;
    std::uint64_t faultAt_ GUARDED_BY(mutex_) = 0;  // 0: none; else the write number it strikes
    Fault fault_ GUARDED_BY(mutex_) = Fault::fail;
    bool cutsPower_ GUARDED_BY(mutex_) = false;  // the pending fault cuts the power
    bool powerOff_ GUARDED_BY(mutex_) = false;
};

inline WriteLog& writeLog() { return WriteLog::process(); }

}  // namespace platform
