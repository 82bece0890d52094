#include "base/Allocation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>

namespace {

std::uint32_t total(const AllocCount& c) {
    return c.TotalAlloc;
}

bool isRegistered(const AllocCount* c) {
    for (MemStats* m = getFirstMS(); m; m = m->next)
        if (m->stat == c)
            return true;
    return false;
}

int registrations(const AllocCount* c) {
    int n = 0;
    for (MemStats* m = getFirstMS(); m; m = m->next)
        n += m->stat == c;
    return n;
}

// A counter not registered yet. The list of counters keeps one for the whole run, so each run of
// a test that watches the registration takes a new counter, which lives as long as the list.
AllocCount& freshCounter(const AllocCount& unregistered) {
    static std::deque<AllocCount> counters;
    return counters.emplace_back(unregistered);
}

TEST(Allocation, ZeroBytesGivesOneChargedByte) {
    static AllocCount c = ALLOC_COUNTER("zero");
    void* p = allocate(0, &c, "zero block");
    ASSERT_NE(p, nullptr);
    static_cast<char*>(p)[0] = 'x';
    EXPECT_EQ(total(c), 1u);
    freespace(p, 1, &c, "zero block");
    EXPECT_EQ(total(c), 0u);
}

TEST(Allocation, CounterRegistersOnceEvenAfterFallingBackToZero) {
    AllocCount& c = freshCounter(ALLOC_COUNTER("once"));
    EXPECT_FALSE(isRegistered(&c));
    void* p = allocate(100, &c, "a");
    EXPECT_EQ(registrations(&c), 1);
    freespace(p, 100, &c, "a");
    EXPECT_EQ(total(c), 0u);
    p = allocate(50, &c, "b");
    EXPECT_EQ(registrations(&c), 1);
    EXPECT_EQ(total(c), 50u);
    p = reallocate(p, 80, 50, &c, "b");
    EXPECT_EQ(total(c), 80u);
    freespace(p, 80, &c, "b");
}

TEST(Allocation, FreeingNullWarnsAndChangesNothing) {
    static AllocCount c = ALLOC_COUNTER("null");
    void* p = allocate(10, &c, "x");
    testing::internal::CaptureStderr();
    freespace(nullptr, 10, &c, "nothing");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "WARNING: attempt to free non-allocated space nothing\n");
    EXPECT_EQ(total(c), 10u);
    freespace(p, 10, &c, "x");
}

TEST(Allocation, TraceShowsListNodeBeforeFirstAllocationOfFreshCounter) {
    AllocCount& c = freshCounter(ALLOC_COUNTER("traced"));
    freespace(allocate(1, nullptr, "warm-up"), 1, nullptr, "warm-up"); // general counter first
    setAllocTrace(1);
    testing::internal::CaptureStderr();
    void* p = allocate(24, &c, "traced block");
    freespace(p, 24, &c, "traced block");
    std::string out = testing::internal::GetCapturedStderr();
    setAllocTrace(0);
    EXPECT_EQ(out, "Allocated " + std::to_string(sizeof(MemStats)) +
                       " bytes for Memory statistics pointer\n"
                       "Allocated 24 bytes for traced block\n"
                       "freed 24 bytes for traced block\n");
}

TEST(AllocationDeathTest, OversizedRequestEndsProgram) {
    static AllocCount c = ALLOC_COUNTER("big");
    EXPECT_EXIT(allocate(2100000001u, &c, "huge"), testing::ExitedWithCode(1),
                "Attempt to allocate 2100 Mb for huge refused");
    EXPECT_EXIT(reallocate(nullptr, 2100000001u, 0, &c, "huge"), testing::ExitedWithCode(1),
                "Attempt to reallocate more than 2100 Mb for huge refused");
}

TEST(Allocation, NoticeAboveTheAnnouncementLimit) {
    static AllocCount c = ALLOC_COUNTER("notice");
    testing::internal::CaptureStderr();
    void* p = allocate(210000000, &c, "exact");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    freespace(p, 210000000, &c, "exact");
    testing::internal::CaptureStderr();
    p = allocate(210000001, &c, "large");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Allocating 210 Mb for large\n");
    freespace(p, 210000001, &c, "large");
}

TEST(GuardedArray, WritesInsideTheReservationKeepGuards) {
    GuardedArray<int> a("a");
    int* x = a.reserve(5);
    for (int i = 0; i < 5; ++i)
        x[i] = i;
    testing::internal::CaptureStderr();
    a.check();
    a.reserve(3); // fewer elements keep the block and move the end guard down
    EXPECT_EQ(x, a.X);
    EXPECT_EQ(a.X[3], 888888888);
    a.release();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(a.X, nullptr);
    EXPECT_EQ(a.X_size, 0);
}

TEST(GuardedArray, DamagedGuardsAreReportedAndTheRunGoesOn) {
    GuardedArray<char> c("charBuffer");
    c.reserve(4);
    c.X[4] = 'q';
    c.X[-1] = 'q';
    testing::internal::CaptureStderr();
    c.reserve(4);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "!!!!!! underflow in allocation of charBuffer\n"
              "!!!!!! overflow in allocation of charBuffer\n");
}

TEST(GuardedArray, GrowsWithSlackAndKeepsContents) {
    static AllocCount c = ALLOC_COUNTER("growth");
    GuardedArray<double> d("d", &c);
    d.reserve(2);
    EXPECT_EQ(d.X_size, 12);
    EXPECT_EQ(total(c), 14 * sizeof(double));
    d.X[0] = 1.5;
    d.X[1] = -2.5;
    d.reserve(12); // within the slack: no reallocation
    EXPECT_EQ(d.X_size, 12);
    d.reserve(13);
    EXPECT_EQ(d.X_size, 23);
    EXPECT_EQ(d.X_req, 23);
    EXPECT_EQ(total(c), 25 * sizeof(double));
    EXPECT_EQ(d.X[0], 1.5);
    EXPECT_EQ(d.X[1], -2.5);
    EXPECT_EQ(d.X[-1], 777777777.0);
    d.release();
    EXPECT_EQ(total(c), 0u);
}

TEST(GuardedArray, PointerGuardsAreNull) {
    GuardedArray<void*> p("p");
    p.reserve(3);
    EXPECT_EQ(p.X[-1], nullptr);
    EXPECT_EQ(p.X[3], nullptr);
}

} // namespace
