#include "platform/files.h"

#include <sys/stat.h>

#include <string>

#include "platform/board.h"

namespace platform {

bool fileExists(std::string_view boardPath) {
    struct stat st {};
    return ::stat(board().path(boardPath).c_str(), &st) == 0;
}

std::FILE* openFile(std::string_view boardPath, const char* mode) {
    return ::fopen64(board().path(boardPath).c_str(), mode);
}

int closeFile(std::FILE* f) { return std::fclose(f); }

}  // namespace platform
