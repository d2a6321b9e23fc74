// The writes of one store as the journal keeps them: merged where they
// touch, read through while the store is described, joined across small
// gaps, and read back from the journal's bytes only when whole.

#include "storage/store_unit.h"

#include <gtest/gtest.h>

namespace {

TEST(StoreUnit, WritesMergeWhereTheyTouchAndReadsSeeThem) {
    StoreUnit unit;
    unit.add(StoreTarget::archive, 100, Bytes{1, 2, 3});
    unit.add(StoreTarget::archive, 10, Bytes{9});
    unit.add(StoreTarget::internalStorage, 101, Bytes{7});
    unit.add(StoreTarget::archive, 102, Bytes{4, 5});  // overlaps the end: the later bytes win
    unit.add(StoreTarget::archive, 98, Bytes{6, 6});   // touches the start
    ASSERT_EQ(unit.writes().size(), 3u);
    EXPECT_EQ(unit.writes()[0], (StoreUnit::Write{StoreTarget::archive, 10, Bytes{9}}));
    EXPECT_EQ(unit.writes()[1],
              (StoreUnit::Write{StoreTarget::archive, 98, Bytes{6, 6, 1, 2, 4, 5}}));
    EXPECT_EQ(unit.writes()[2].target, StoreTarget::internalStorage);

    Bytes read(8, 0xEE);  // what the file holds from 96
    unit.overlay(StoreTarget::archive, 96, read.data(), read.size());
    EXPECT_EQ(read, (Bytes{0xEE, 0xEE, 6, 6, 1, 2, 4, 5}));
    EXPECT_TRUE(unit.touches(StoreTarget::internalStorage));
    EXPECT_FALSE(unit.touches(StoreTarget::eeprom));

    // Near writes of one target join, the gap as the file has it.
    unit.joinNearWrites(StoreTarget::archive, 100, [](std::uint64_t, std::size_t n, Bytes& out) {
        out.assign(n, 0xAB);
        return true;
    });
    ASSERT_EQ(unit.writes().size(), 2u);
    EXPECT_EQ(unit.writes()[0].offset, 10u);
    EXPECT_EQ(unit.writes()[0].bytes.size(), 94u);
    EXPECT_EQ(unit.writes()[0].bytes[1], 0xAB);
    EXPECT_EQ(unit.writes()[0].bytes[88], 6);
}

TEST(StoreUnit, OnlyAWholeListOfWritesIsReadBack) {
    StoreUnit unit;
    unit.add(StoreTarget::archive, 16'777'220, Bytes(300, 0x11));
    unit.add(StoreTarget::eeprom, 48, Bytes(968, 0x22));
    const Bytes encoded = unit.encode();
    StoreUnit back;
    ASSERT_TRUE(StoreUnit::decode(encoded.data(), encoded.size(), back));
    EXPECT_EQ(back.writes(), unit.writes());
    // Cut short, or with a target the register does not have: nothing.
    EXPECT_FALSE(StoreUnit::decode(encoded.data(), encoded.size() - 1, back));
    EXPECT_TRUE(back.empty());
    Bytes strange = encoded;
    strange[0] = 9;
    EXPECT_FALSE(StoreUnit::decode(strange.data(), strange.size(), back));
}

}  // namespace
