// The forward reader over a file in memory: whatever the layout of the
// documents (touching, near, far apart, out of order, overlapping, past the
// end), each document's data are the file's bytes at its offset, no read is
// longer than the buffer, and a dense stretch is read in order, each read
// starting where the last one ended.

#include "storage/forward_data_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

namespace {

struct FakeFile {
    Bytes bytes;
    struct Read {
        std::uint64_t offset;
        std::size_t n;
    };
    std::vector<Read> reads;

    ForwardDataReader::Read reader() {
        return [this](std::uint64_t offset, std::uint8_t* p, std::size_t n) {
            reads.push_back({offset, n});
            if (n > ForwardDataReader::kLongestPiece) ADD_FAILURE() << "a read past the buffer";
            if (offset > bytes.size() || n > bytes.size() - offset) return false;
            std::memcpy(p, bytes.data() + offset, n);
            return true;
        };
    }
};

DocDescriptor at(std::uint64_t offset, std::uint16_t length) {
    DocDescriptor header;
    header.dataOffset = offset;
    header.dataLength = length;
    return header;
}

FakeFile fileOf(std::size_t size, std::uint32_t seed) {
    FakeFile file;
    std::mt19937 random(seed);
    file.bytes.resize(size);
    for (std::uint8_t& b : file.bytes) b = static_cast<std::uint8_t>(random());
    return file;
}

// Reads every document in order and checks its data against the file.
void expectEveryDocumentsData(FakeFile& file, const std::vector<DocDescriptor>& headers) {
    ForwardDataReader reader(headers, file.reader());
    for (std::size_t i = 0; i < headers.size(); ++i) {
        const DocDescriptor& h = headers[i];
        const std::uint8_t* data = reader.dataOf(i);
        const bool inFile = h.dataOffset <= file.bytes.size() &&
                            h.dataLength <= file.bytes.size() - h.dataOffset;
        if (!inFile) {
            EXPECT_EQ(data, nullptr) << "document " << i << " lies past the end";
            continue;
        }
        ASSERT_NE(data, nullptr) << "document " << i;
        EXPECT_EQ(std::memcmp(data, file.bytes.data() + h.dataOffset, h.dataLength), 0)
            << "document " << i << " at " << h.dataOffset << ", " << h.dataLength << " bytes";
    }
}

TEST(ForwardDataReader, EveryLayoutGivesEachDocumentItsOwnBytes) {
    FakeFile file = fileOf(6 * 1024 * 1024, 1);
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        file.reads.clear();
        std::vector<DocDescriptor> headers;
        std::uint64_t offset = random() % 1000;
        for (int i = 0; i < 60; ++i) {
            const auto length = static_cast<std::uint16_t>(random() % 3 == 0 ? random() % 65'536
                                                                             : random() % 2'000);
            headers.push_back(at(offset, length));
            // Mostly onward by gaps of every size around the joining one;
            // now and then back, into the last one, or past the file's end.
            switch (random() % 10) {
                case 0: offset = random() % file.bytes.size(); break;
                case 1: offset += length / 2; break;
                case 2: offset = file.bytes.size() - random() % 1'000; break;
                default: offset += length + random() % (3 * ForwardDataReader::kJoinedGap); break;
            }
        }
        expectEveryDocumentsData(file, headers);
    }
}

TEST(ForwardDataReader, ADenseStretchIsReadInOrderAndFarDocumentsAlone) {
    FakeFile file = fileOf(8 * 1024 * 1024, 7);
    std::vector<DocDescriptor> headers;
    // 100 documents of 2 000 bytes, 30 000 apart: three mebibytes of near ones.
    for (std::uint64_t i = 0; i < 100; ++i) headers.push_back(at(100 + i * 30'000, 2'000));
    // Then two far apart.
    headers.push_back(at(5'000'000, 500));
    headers.push_back(at(7'000'000, 65'535));
    expectEveryDocumentsData(file, headers);

    ASSERT_GE(file.reads.size(), 4u);
    const std::size_t dense = file.reads.size() - 2;
    EXPECT_EQ(file.reads[0].offset, 100u);
    for (std::size_t r = 1; r < dense; ++r)
        EXPECT_EQ(file.reads[r].offset, file.reads[r - 1].offset + file.reads[r - 1].n)
            << "read " << r << " starts where the one before ended";
    EXPECT_EQ(file.reads[dense - 1].offset + file.reads[dense - 1].n, 100u + 99 * 30'000 + 2'000)
        << "the stretch ends with its last document";
    EXPECT_LE(dense, 4u) << "a mebibyte a read";
    EXPECT_EQ(file.reads[dense].offset, 5'000'000u);
    EXPECT_EQ(file.reads[dense].n, 500u);
    EXPECT_EQ(file.reads[dense + 1].n, 65'535u);
}

TEST(ForwardDataReader, ADamagedOffsetFailsThatDocumentOnly) {
    FakeFile file = fileOf(1024, 3);
    const std::vector<DocDescriptor> headers = {at(10, 20), at(~std::uint64_t{0} - 5, 65'535),
                                                at(30, 40)};
    ForwardDataReader reader(headers, file.reader());
    EXPECT_NE(reader.dataOf(0), nullptr);
    EXPECT_EQ(reader.dataOf(1), nullptr);
    const std::uint8_t* third = reader.dataOf(2);
    ASSERT_NE(third, nullptr) << "a failed read leaves the reader fit for the next";
    EXPECT_EQ(std::memcmp(third, file.bytes.data() + 30, 40), 0);
}

}  // namespace
