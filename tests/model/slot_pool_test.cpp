#include "model/slot_pool.h"
#include "text/sentence.h"
#include "text/text_row.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <thread>
#include <vector>

namespace {

bool Aligned16(const void* p)
{
    return reinterpret_cast<std::uintptr_t>(p) % 16 == 0;
}

TEST(SlotPool, SlotsAreDistinctAlignedAndWritable)
{
    for (std::size_t size : {1u, 8u, 16u, 17u, 100u, 312u, 1000u, 1024u, 1025u, 4000u}) {
        SCOPED_TRACE(size);
        std::vector<void*> slots;
        std::set<void*> seen;
        for (int i = 0; i < 3000; ++i) {
            void* p = mirel::AllocateSlot(size);
            ASSERT_TRUE(Aligned16(p));
            std::memset(p, i & 0xFF, size);
            slots.push_back(p);
            seen.insert(p);
        }
        EXPECT_EQ(seen.size(), slots.size());
        // What was written into one slot is still there after all others were written.
        for (int i = 0; i < 3000; ++i)
            ASSERT_EQ(static_cast<unsigned char*>(slots[i])[size - 1], i & 0xFF);
        for (void* p : slots)
            mirel::ReleaseSlot(p, size);
    }
    mirel::ReleaseSlot(nullptr, 64);   // like delete of a null pointer
}

TEST(SlotPool, ReleasedSlotsServeTheNextObjectsOfThatSize)
{
    if (!mirel::SlotPoolActive())
        GTEST_SKIP() << "the address sanitizer build takes every slot from the heap";
    std::set<void*> released;
    for (int i = 0; i < 100; ++i) {
        void* p = mirel::AllocateSlot(sizeof(CSentence));
        released.insert(p);
    }
    for (void* p : released)
        mirel::ReleaseSlot(p, sizeof(CSentence));
    std::vector<std::unique_ptr<CSentence>> made;
    for (int i = 0; i < 100; ++i) {
        made.push_back(std::make_unique<CSentence>());
        EXPECT_TRUE(released.count(made.back().get())) << "a fresh slot while released ones wait";
    }
    // A different size class does not take them.
    auto row = std::make_unique<CTextRow>();
    EXPECT_FALSE(released.count(row.get()));
}

// Objects made on one thread and freed on another, and threads that end
// with free slots: nothing is lost or handed out twice.
TEST(SlotPool, ObjectsCrossThreadsAndOutliveTheirThread)
{
    std::vector<std::unique_ptr<CSentence>> made;
    std::thread maker([&made] {
        for (int i = 0; i < 5000; ++i) {
            made.push_back(std::make_unique<CSentence>());
            made.back()->SetText(std::string(40, 'a' + i % 26));
        }
        // Free slots of this thread when it ends go to the others.
        for (int i = 0; i < 1000; ++i)
            made.pop_back();
    });
    maker.join();
    ASSERT_EQ(made.size(), 4000u);
    for (size_t i = 0; i < made.size(); ++i)
        ASSERT_EQ(made[i]->GetText(), std::string(40, 'a' + i % 26));

    std::set<CSentence*> live;
    for (auto& s : made)
        live.insert(s.get());
    std::vector<std::unique_ptr<CSentence>> fresh;
    std::thread taker([&fresh] {
        for (int i = 0; i < 3000; ++i)
            fresh.push_back(std::make_unique<CSentence>());
    });
    taker.join();
    for (auto& s : fresh)
        EXPECT_FALSE(live.count(s.get())) << "a slot of a live object handed out again";
    made.clear();   // freed here, made on a thread that has ended
    fresh.clear();
}

// A thread that only frees objects made elsewhere hands the slots on when it
// ends: the next thread that needs slots of that size takes them.
TEST(SlotPool, SlotsFreedByAnEndedThreadServeTheNextThread)
{
    if (!mirel::SlotPoolActive())
        GTEST_SKIP() << "the address sanitizer build takes every slot from the heap";
    std::vector<std::unique_ptr<CTextRow>> rows;
    std::set<CTextRow*> freed;
    for (int i = 0; i < 200; ++i) {
        rows.push_back(std::make_unique<CTextRow>());
        freed.insert(rows.back().get());
    }
    std::thread([&rows] { rows.clear(); }).join();
    std::vector<std::unique_ptr<CTextRow>> fresh;
    std::thread([&fresh] {
        for (int i = 0; i < 200; ++i)
            fresh.push_back(std::make_unique<CTextRow>());
    }).join();
    int reused = 0;
    for (auto& r : fresh)
        reused += freed.count(r.get()) ? 1 : 0;
    EXPECT_EQ(reused, 200);
}

}  // namespace
