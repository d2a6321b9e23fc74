#include "config/record_file.h"

#include <string>

#include "common/diagnostics.h"
#include "platform/files.h"

namespace recordfile {

Bytes numberedRecords(std::size_t size, int count) {
    Bytes content(size * static_cast<std::size_t>(count), 0);
    for (int n = 1; n <= count; ++n)
        content[static_cast<std::size_t>(n - 1) * size] = static_cast<std::uint8_t>(n);
    return content;
}

bool ensureWhole(std::string_view path, std::size_t recordSize, const Bytes& defaults) {
    if (!platform::fileExists(path)) return platform::createFileWhole(path, defaults);
    platform::FileHandle file(path, "r+b");
    if (!file) return false;
    const std::int64_t size = platform::fileSize(file.get());
    if (size < 0) return false;
    const std::size_t whole = static_cast<std::size_t>(size) / recordSize * recordSize;
    if (whole >= defaults.size()) return true;
    const Bytes missing(defaults.begin() + static_cast<std::ptrdiff_t>(whole), defaults.end());
    const bool written =
        platform::writeAt(file.get(), whole, missing, platform::Durability::synced);
    const bool closed = file.close() == 0;
    diagnosticLine(std::string(path) + " SHORT " + std::to_string(size) + " BYTES, RECORDS " +
                   std::to_string(whole / recordSize + 1) + " TO " +
                   std::to_string(defaults.size() / recordSize) +
                   (written && closed ? " RESTORED" : " NOT RESTORED"));
    return written && closed;
}

bool readRecord(std::string_view path, std::uint64_t offset, std::size_t size, Bytes& out) {
    platform::FileHandle file(path, "r+b");
    if (!file) {
        out.assign(size, 0);
        return false;
    }
    return platform::readAt(file.get(), offset, size, out);
}

bool writeRecord(std::string_view path, std::uint64_t offset, const Bytes& record) {
    platform::FileHandle file(path, "r+b");
    if (!file) return false;
    const bool written =
        platform::writeAt(file.get(), offset, record, platform::Durability::flushed);
    return file.close() == 0 && written;
}

bool writeFromStart(std::string_view path, const Bytes& bytes) {
    if (!platform::fileExists(path)) return platform::createFileWhole(path, bytes);
    return writeRecord(path, 0, bytes);
}

Bytes readFromStart(std::string_view path, std::size_t size) {
    if (!platform::fileExists(path)) return {};
    platform::FileHandle file(path, "r+b");
    if (!file) return {};
    Bytes bytes(size, 0);
    bytes.resize(platform::readAt(file.get(), 0, bytes.data(), size));
    return bytes;
}

}  // namespace recordfile
