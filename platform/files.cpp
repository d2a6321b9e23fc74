#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/board.h"

namespace platform {

namespace {
// fsync of the directory holding `file`, so that a created, renamed or
// removed entry survives a power cut.
bool syncParentDirectory(const std::string& file) {
    std::string dir = std::filesystem::path(file).parent_path().string();
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool synced = board().syncToMedium(fd);
    ::close(fd);
    return synced;
}

// The streams open on the SD card, whose writes and syncs take the card's
// time on a board that has one.
class CardStreams {
  public:
    void opened(std::FILE* f, std::string_view boardPath) {
        if (!f || !boardPath.starts_with(kCardPrefix)) return;
        MutexLock lock(mutex_);
        streams_.insert(f);
    }
    void closed(std::FILE* f) {
        MutexLock lock(mutex_);
        streams_.erase(f);
    }
    bool onCard(std::FILE* f) const {
        MutexLock lock(mutex_);
        return streams_.count(f) != 0;
    }
    static CardStreams& process() {
        static CardStreams* streams = new CardStreams();  // lives until exit
        return *streams;
    }

  private:
    static constexpr std::string_view kCardPrefix = "/mnt/sd/";
    mutable Mutex mutex_;
    std::set<std::FILE*> streams_ GUARDED_BY(mutex_);
};

void spendCardTime(std::FILE* f) {
    if (CardStreams::process().onCard(f)) board().cardWriteTime();
}

bool seek(std::FILE* f, std::uint64_t offset) {
    return ::fseeko64(f, static_cast<off64_t>(offset), SEEK_SET) == 0;
}

bool carry(std::FILE* f, Durability durability) {
    switch (durability) {
        case Durability::buffered:
            return true;
        case Durability::flushed:
            return std::fflush(f) == 0;
        case Durability::synced:
            return syncFile(f);
    }
    return false;
}
}  // namespace

bool fileExists(std::string_view boardPath) {
    struct stat st {};
    return ::stat(board().path(boardPath).c_str(), &st) == 0;
}

std::FILE* openFile(std::string_view boardPath, const char* mode) {
    std::FILE* f = ::fopen64(board().path(boardPath).c_str(), mode);
    CardStreams::process().opened(f, boardPath);
    return f;
}

int closeFile(std::FILE* f) {
    CardStreams::process().closed(f);
    return std::fclose(f);
}

std::size_t readAt(std::FILE* f, std::uint64_t offset, std::uint8_t* p, std::size_t n) {
    if (!seek(f, offset)) return 0;
    return std::fread(p, 1, n, f);
}

bool readAt(std::FILE* f, std::uint64_t offset, std::size_t n, Bytes& out) {
    out.assign(n, 0);
    return readAt(f, offset, out.data(), n) == n;
}

bool writeAt(std::FILE* f, std::uint64_t offset, const std::uint8_t* p, std::size_t n,
             Durability durability) {
    WriteLog::Fault fault;
    const bool faulty = writeLog().nextWrite(n, fault);
    if (!seek(f, offset)) return false;
    if (faulty) {
        if (fault == WriteLog::Fault::tear) {
            std::fwrite(p, 1, n / 2, f);
            std::fflush(f);
        }
        return false;
    }
    const bool written = std::fwrite(p, 1, n, f) == n;
    const bool carried = carry(f, durability);
    spendCardTime(f);
    return carried && written;
}

bool truncateFile(std::string_view boardPath, std::uint64_t size) {
    WriteLog::Fault fault;
    if (writeLog().nextWrite(0, fault)) return false;
    const int fd = ::open(board().path(boardPath).c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool cut = ::ftruncate64(fd, static_cast<off64_t>(size)) == 0 && board().syncToMedium(fd);
    ::close(fd);
    return cut;
}

std::int64_t fileSize(std::FILE* f) {
    if (::fseeko64(f, 0, SEEK_END) != 0) return -1;
    return ::ftello64(f);
}

bool readWholeFile(std::string_view boardPath, Bytes& out) {
    out.clear();
    FileHandle file(boardPath, "rb");
    if (!file) return false;
    const std::int64_t size = fileSize(file.get());
    if (size < 0) return false;
    return readAt(file.get(), 0, static_cast<std::size_t>(size), out);
}

bool createFileWhole(std::string_view boardPath, const Bytes& content) {
    const std::string temporaryPath = std::string(boardPath) + ".new";
    bool written = false;
    {
        FileHandle file(temporaryPath, "w+b");
        if (file) written = writeAt(file.get(), 0, content, Durability::synced);
        written = file.close() == 0 && written;
    }
    if (!written || !renamePath(temporaryPath, boardPath)) {
        removePath(temporaryPath);
        return false;
    }
    return true;
}

bool renamePath(std::string_view from, std::string_view to) {
    const std::string target = board().path(to);
    if (::rename(board().path(from).c_str(), target.c_str()) != 0) return false;
    syncParentDirectory(target);
    return true;
}

bool syncFile(std::FILE* f) {
    const bool synced = std::fflush(f) == 0 && board().syncToMedium(::fileno(f));
    spendCardTime(f);
    return synced;
}

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
        board().syncToMedium(fd);
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

std::uint64_t WriteLog::writes() const {
    MutexLock lock(mutex_);
    return writes_;
}

std::uint64_t WriteLog::bytes() const {
    MutexLock lock(mutex_);
    return bytes_;
}

void WriteLog::injectFault(std::uint64_t k, Fault fault) {
    MutexLock lock(mutex_);
    faultAt_ = k == 0 ? 0 : writes_ + k;
    fault_ = fault;
    cutsPower_ = false;
}

void WriteLog::cutPower(std::uint64_t k, Fault fault) {
    MutexLock lock(mutex_);
    faultAt_ = k == 0 ? 0 : writes_ + k;
    fault_ = fault;
    cutsPower_ = true;
}

void WriteLog::restorePower() {
    MutexLock lock(mutex_);
    powerOff_ = false;
    if (cutsPower_) faultAt_ = 0;
    cutsPower_ = false;
}

bool WriteLog::powerIsOff() const {
    MutexLock lock(mutex_);
    return powerOff_;
}

void WriteLog::reset() {
    MutexLock lock(mutex_);
    writes_ = 0;
    bytes_ = 0;
    faultAt_ = 0;
    cutsPower_ = false;
    powerOff_ = false;
}

bool WriteLog::nextWrite(std::size_t n, Fault& fault) {
    MutexLock lock(mutex_);
    ++writes_;
    bytes_ += n;
    if (powerOff_) {
        fault = Fault::fail;
        return true;
    }
    if (faultAt_ == 0 || writes_ != faultAt_) return false;
    faultAt_ = 0;
    fault = fault_;
    powerOff_ = cutsPower_;
    return true;
}

WriteLog& WriteLog::process() {
    static WriteLog* log = new WriteLog();  // lives until exit
    return *log;
}

}  // namespace platform
