#pragma once
// ForwardDataReader: the data of a list of documents, taken in the order of
// the list, read from the archive through one buffer. Formation needs the
// data of every closing document, a small piece every shift or so apart:
// where they lie near one another they are read as one stretch of the file,
// and a long stretch is read in pieces that each start where the last one
// ended, so that the card (or a disk) is read in order; where they lie far
// apart each is read alone.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "common/bytes.h"
#include "storage/records.h"

class ForwardDataReader {
  public:
    // A gap this short costs less to read through than a read of its own
    // costs to start.
    static constexpr std::uint64_t kJoinedGap = 64 * 1024;
    // The longest read, and the buffer.
    static constexpr std::size_t kLongestPiece = 1024 * 1024;

    // Reads `n` bytes of the file at `offset` into `p`; false when it could not.
    using Read = std::function<bool(std::uint64_t offset, std::uint8_t* p, std::size_t n)>;

    ForwardDataReader(const std::vector<DocDescriptor>& headers, Read read);

    // The data of headers[i] (dataLength bytes), valid until the next call;
    // nullptr when they could not be read. Any order works; ascending `i`
    // is what reads the file in order.
    const std::uint8_t* dataOf(std::size_t i);

  private:
    // Whether the buffer holds the data of `header`.
    bool holds(const DocDescriptor& header) const;
    // How many of the file's bytes from `start` hold the data of
    // headers[first] and of those after it that follow within kJoinedGap,
    // kLongestPiece at most.
    std::uint64_t stretchLength(std::size_t first, std::uint64_t start) const;

    const std::vector<DocDescriptor>& headers_;
    Read read_;
    Bytes buffer_;
    // The file's bytes [start_, end_) are in the buffer.
    std::uint64_t start_ = 0;
    std::uint64_t end_ = 0;
};
