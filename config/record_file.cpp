#include "config/record_file.h"

#include "platform/files.h"

namespace recordfile {

Bytes numberedRecords(std::size_t size, int count) {
    Bytes content(size * static_cast<std::size_t>(count), 0);
    for (int n = 1; n <= count; ++n)
        content[static_cast<std::size_t>(n - 1) * size] = static_cast<std::uint8_t>(n);
    return content;
}

bool create(std::string_view path, const Bytes& content) {
    platform::FileHandle file(path, "w+");
    if (!file) return false;
    const bool written =
        std::fwrite(content.data(), 1, content.size(), file.get()) == content.size();
    return file.close() == 0 && written;
}

bool readAt(std::FILE* file, std::uint64_t offset, std::size_t size, Bytes& out) {
    out.assign(size, 0);
    if (fseeko64(file, static_cast<off64_t>(offset), SEEK_SET) != 0) return false;
    return std::fread(out.data(), 1, size, file) == size;
}

bool readRecord(std::string_view path, std::uint64_t offset, std::size_t size, Bytes& out) {
    platform::FileHandle file(path, "r+");
    if (!file) {
        out.assign(size, 0);
        return false;
    }
    return readAt(file.get(), offset, size, out);
}

bool writeAt(std::FILE* file, std::uint64_t offset, const Bytes& record) {
    if (fseeko64(file, static_cast<off64_t>(offset), SEEK_SET) != 0) return false;
    const bool written = std::fwrite(record.data(), 1, record.size(), file) == record.size();
    return std::fflush(file) == 0 && written;
}

bool writeRecord(std::string_view path, std::uint64_t offset, const Bytes& record) {
    platform::FileHandle file(path, "r+");
    if (!file) return false;
    const bool written = writeAt(file.get(), offset, record);
    return file.close() == 0 && written;
}

}  // namespace recordfile
