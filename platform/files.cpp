#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/board.h"

namespace platform {

namespace {
// fsync of the directory holding `file`, so that a created or removed entry
// survives a power cut.
bool syncParentDirectory(const std::string& file) {
    std::string dir = std::filesystem::path(file).parent_path().string();
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}
}  // namespace

bool fileExists(std::string_view boardPath) {
    struct stat st {};
    return ::stat(board().path(boardPath).c_str(), &st) == 0;
}

std::FILE* openFile(std::string_view boardPath, const char* mode) {
    return ::fopen64(board().path(boardPath).c_str(), mode);
}

int closeFile(std::FILE* f) { return std::fclose(f); }

bool syncFile(std::FILE* f) { return std::fflush(f) == 0 && ::fsync(::fileno(f)) == 0; }

bool makeDirectory(std::string_view boardPath) {
    std::string dir = board().path(boardPath);
    ::mkdir(dir.c_str(), 0755);
    struct stat st {};
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool touchFile(std::string_view boardPath) {
    std::string file = board().path(boardPath);
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    syncParentDirectory(file);
    return fileExists(boardPath);
}

bool removePath(std::string_view boardPath) {
    std::string file = board().path(boardPath);
    std::error_code ec;
    std::filesystem::remove_all(file, ec);
    syncParentDirectory(file);
    return !fileExists(boardPath);
}

}  // namespace platform
