#include "storage/forward_data_reader.h"

#include <algorithm>
#include <cstring>
#include <utility>

ForwardDataReader::ForwardDataReader(const std::vector<DocDescriptor>& headers, Read read)
    : headers_(headers), read_(std::move(read)), buffer_(kLongestPiece) {}

bool ForwardDataReader::holds(const DocDescriptor& header) const {
    return header.dataOffset >= start_ && header.dataOffset <= end_ &&
           header.dataLength <= end_ - header.dataOffset;
}

std::uint64_t ForwardDataReader::stretchLength(std::size_t first, std::uint64_t start) const {
    // Lengths are taken from `start`, never as sums of offsets, so that a
    // damaged offset cannot wrap a length around.
    std::uint64_t reached = headers_[first].dataOffset - start + headers_[first].dataLength;
    for (std::size_t i = first + 1; i < headers_.size(); ++i) {
        const DocDescriptor& next = headers_[i];
        if (next.dataOffset < start) break;
        const std::uint64_t from = next.dataOffset - start;
        if (from < reached || from - reached > kJoinedGap || from > kLongestPiece ||
            next.dataLength > kLongestPiece - from)
            break;
        reached = from + next.dataLength;
    }
    return reached;
}

const std::uint8_t* ForwardDataReader::dataOf(std::size_t i) {
    const DocDescriptor& header = headers_[i];
    if (holds(header)) return buffer_.data() + (header.dataOffset - start_);
    // On from the buffer's end when the data start inside the buffer or a
    // short gap past it, keeping the buffer's bytes from the data on; else
    // a fresh read at the data.
    const bool onward = end_ != start_ && header.dataOffset >= start_ &&
                        (header.dataOffset <= end_ || header.dataOffset - end_ <= kJoinedGap);
    const std::uint64_t keepFrom = onward ? std::min(header.dataOffset, end_) : header.dataOffset;
    const std::uint64_t readFrom = onward ? end_ : header.dataOffset;
    const std::size_t kept = static_cast<std::size_t>(readFrom - keepFrom);
    if (kept > 0) std::memmove(buffer_.data(), buffer_.data() + (keepFrom - start_), kept);
    const std::uint64_t length = stretchLength(i, keepFrom);
    start_ = end_ = keepFrom;
    if (read_(readFrom, buffer_.data() + kept, static_cast<std::size_t>(length - kept))) {
        end_ = keepFrom + length;
    } else {
        // A stretch that runs into a document the file does not hold: the
        // data of this one alone.
        start_ = end_ = header.dataOffset;
        if (!read_(header.dataOffset, buffer_.data(), header.dataLength)) return nullptr;
        end_ = header.dataOffset + header.dataLength;
    }
    return buffer_.data() + (header.dataOffset - start_);
}
