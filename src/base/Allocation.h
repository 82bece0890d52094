// Counted allocation: every block the system keeps for its own structures is charged to the
// named counter of the module that owns it, so memory use can be shown per module.
#pragma once

#include <cstddef>
#include <cstdint>

using MEM_EXTRA = void (*)();

struct AllocCount {
    std::uint32_t TotalAlloc; // all ones: not yet registered
    int level;
    char txt[80];
    MEM_EXTRA extra;
};

// A counter that registers itself on its first allocation.
#define ALLOC_COUNTER(label)                                                                       \
    AllocCount {                                                                                   \
        0xFFFFFFFFu, 0, label, nullptr                                                             \
    }

struct MemStats {
    MemStats* next;
    AllocCount* stat;
};

// Limits of a single request, in bytes.
inline constexpr std::size_t AllocNoticeLimit = 210000000;
inline constexpr std::size_t AllocRefuseLimit = 2100000000;

void* allocate(std::size_t space, AllocCount* cnt, const char* name);
void* reallocate(void* pt, std::size_t space, std::size_t old, AllocCount* cnt, const char* name);
void freespace(void* pt, std::size_t space, AllocCount* cnt, const char* name);

MemStats* getFirstMS();
void setAllocTrace(int toggle);
void AddMemStat(AllocCount* stat);
void malloc_debug_private(int level);
void testtt(int* x);

// The general counter, charged when no module counter is given.
AllocCount* generalAllocCounter();

// Guard elements written before and after the data of a guarded array.
template <class T> struct GuardValues;
template <> struct GuardValues<char> {
    static constexpr char front = 'a';
    static constexpr char back = 'z';
};
template <> struct GuardValues<signed char> {
    static constexpr signed char front = 'a';
    static constexpr signed char back = 'z';
};
template <> struct GuardValues<int> {
    static constexpr int front = 777777777;
    static constexpr int back = 888888888;
};
template <> struct GuardValues<double> {
    static constexpr double front = 777777777.0;
    static constexpr double back = 888888888.0;
};
template <class P> struct GuardValues<P*> {
    static constexpr P* front = nullptr;
    static constexpr P* back = nullptr;
};

void reportGuardDamage(bool front, const char* label);
void reportTaggedGuardDamage(int tag, bool front, const char* label, int found, int oldsize);

// A growable work array with a guard element before X[0] and after its last requested element,
// checked at each reuse so that writes past either end are reported. The five fields are the
// array's data pointer, its block, the count last asked of the heap, the count of the last
// reservation (where the end guard stands) and the count the block holds.
template <class T> class GuardedArray {
public:
    T* X = nullptr;
    T* X_true = nullptr;
    int X_req = 0;
    int X_oldsize = 0;
    int X_size = 0;

    GuardedArray(const char* label, AllocCount* counter = nullptr)
        : label_(label), counter_(counter) {}
    GuardedArray(const GuardedArray&) = delete;
    GuardedArray& operator=(const GuardedArray&) = delete;
    ~GuardedArray() {
        if (X_true)
            freespace(X_true, bytes(X_size), counter_, label_);
    }

    // Makes room for n elements X[0] .. X[n-1] and returns X.
    T* reserve(int n) {
        X_req = n + Slack;
        if (X_true) {
            check();
            if (n > X_size) {
                X_true = static_cast<T*>(
                    reallocate(X_true, bytes(X_req), bytes(X_size), counter_, label_));
                X_size = X_req;
                X = X_true + 1;
                X_true[0] = GuardValues<T>::front;
            }
        } else {
            X_true = static_cast<T*>(allocate(bytes(X_req), counter_, label_));
            X_size = X_req;
            X = X_true + 1;
            X_true[0] = GuardValues<T>::front;
        }
        X[n] = GuardValues<T>::back;
        X_oldsize = n;
        return X;
    }

    // Reports a damaged guard; nothing is repaired.
    void check() const {
        if (!X_true)
            return;
        if (X_true[0] != GuardValues<T>::front)
            reportGuardDamage(true, label_);
        if (X[X_oldsize] != GuardValues<T>::back)
            reportGuardDamage(false, label_);
    }

    // The interpreter's command buffer reports with a tag naming the place of the check.
    void checkTagged(int tag) const {
        if (!X_true)
            return;
        if (X_true[0] != GuardValues<T>::front)
            reportTaggedGuardDamage(tag, true, label_, 0, 0);
        if (X[X_oldsize] != GuardValues<T>::back)
            reportTaggedGuardDamage(tag, false, label_, static_cast<int>(X[X_oldsize]), X_oldsize);
    }

    void release() {
        if (!X_true)
            return;
        check();
        freespace(X_true, bytes(X_size), counter_, label_);
        X = X_true = nullptr;
        X_req = X_oldsize = X_size = 0;
    }

    bool reserved() const { return X_true != nullptr; }
    const char* label() const { return label_; }
    T& operator[](int i) { return X[i]; }
    const T& operator[](int i) const { return X[i]; }

private:
    static constexpr int Slack = 10;
    static std::size_t bytes(int elements) {
        return (static_cast<std::size_t>(elements) + 2) * sizeof(T);
    }
    const char* label_;
    AllocCount* counter_;
};
