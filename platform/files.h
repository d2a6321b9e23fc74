#pragma once
// File helpers for the register's record files. Every file under a board
// path is opened through here, so that the board's path mapping applies and
// a test layer can later cut or tear writes in one place.

#include <cstdio>
#include <string_view>

namespace platform {

// True when the board path exists, whatever its type.
bool fileExists(std::string_view boardPath);

// fopen64 of the mapped board path; null on failure.
std::FILE* openFile(std::string_view boardPath, const char* mode);

// Closes a file opened with openFile; the result of fclose.
int closeFile(std::FILE* f);

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

}  // namespace platform
