// The store of named bulk invariants and the current invariant. Storing finds an equal stored
// invariant through an index of the normal forms, so that a long search does not compare each
// new invariant with every stored one field by field; the first equal record in store order
// still wins.
#include "modular/Invariants.h"

#include "base/Error.h"
#include "base/Output.h"
#include "base/Parameters.h"
#include "lie/Galois.h"
#include "modular/InvariantsInternal.h"
#include "modular/Modular.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

using namespace invariants_internal;

namespace {

// ---- Parameters ----

struct ParameterBinding {
    const char* name;
    int fallback; // the value while the parameter is not bound
};

constexpr std::array<ParameterBinding, 13> parameterBindings{{
    {"Selection automorphism", 0},
    {"Selection symmetric", 0},
    {"Selection extension", 0},
    {"Reject permutations", 1},
    {"MIPF random", 0},
    {"Invariant info_level", 0},
    {"Invariant max_display", 100},
    {"Invariant statistics", 0},
    {"Autostore", 0},
    {"Reject info", 0},
    {"loop start", 0},
    {"loop end", 2000000000},
    {"ZNX_VERSION", 0},
}};

std::array<int*, parameterBindings.size()> boundParameters{};
std::array<int, parameterBindings.size()> unboundValues = [] {
    std::array<int, parameterBindings.size()> values{};
    for (std::size_t k = 0; k < parameterBindings.size(); k++)
        values[k] = parameterBindings[k].fallback;
    return values;
}();

int* parameterSlot(Par p) {
    const auto k = static_cast<std::size_t>(p);
    return boundParameters[k] ? boundParameters[k] : &unboundValues[k];
}

// ---- The store ----

constexpr int LoopEndDefault = 2000000000;

// Records in store order; the store owns them.
std::vector<std::unique_ptr<BulkInvariant>> stored;
BulkInvariant* firstBulkInvariant = nullptr;
int NameCount = 0;
int TotalMIPFCount = 0;

// Stored records by the hash of their normal form, each list in store order. Records join the
// index at the next look-up, so that a record appended empty and filled by its caller is found
// with what it holds then.
std::unordered_map<std::uint64_t, std::vector<BulkInvariant*>> byForm;
std::size_t indexed = 0;
std::vector<std::uint64_t> hashes; // of the indexed records, in store order

std::unique_ptr<BulkInvariant> LocalBulk;
std::unique_ptr<BulkInvariant> DummyBulk;
BulkInvariant* CurrentBulk = nullptr;

std::uint64_t mix(std::uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    x ^= x >> 33;
    return x;
}

// Equal for invariants that compare equal: a row's labels enter as a sum, so neither their
// order nor the normal form's row clearing changes it, while repetitions do.
std::uint64_t formHash(BulkInvariant* bi) {
    adjustBulkInvariant(bi);
    std::uint64_t h = mix(static_cast<std::uint64_t>(bi->Nprimaries) + 1);
    for (int i = 0; i < bi->Nprimaries; i++) {
        std::uint64_t row = (static_cast<std::uint64_t>(bi->multiplicity[i]) << 32) ^
                            static_cast<std::uint32_t>(bi->orbitlength[i]);
        for (int k = 0; k < bi->orbitlength[i]; k++) {
            const std::uint64_t x =
                (static_cast<std::uint64_t>(static_cast<std::uint32_t>(bi->orbits[i][k])) + 1) *
                0x9e3779b97f4a7c15ULL;
            row += x ^ (x >> 31);
        }
        h = (h ^ row) * 0x100000001b3ULL;
    }
    return mix(h);
}

void indexRecord(BulkInvariant* bi, std::uint64_t h) {
    hashes.push_back(h);
    byForm[h].push_back(bi);
    indexed++;
}

void indexPendingRecords() {
    while (indexed < stored.size()) {
        BulkInvariant* bi = stored[indexed].get();
        indexRecord(bi, formHash(bi));
    }
}

// The first stored record equal to bi, whose normal form has the hash h.
BulkInvariant* firstEqualStored(BulkInvariant* bi, std::uint64_t h) {
    indexPendingRecords();
    auto bucket = byForm.find(h);
    if (bucket == byForm.end())
        return nullptr;
    for (BulkInvariant* candidate : bucket->second)
        if (compareBulkInvariants(bi, candidate) == 0)
            return candidate;
    return nullptr;
}

void append(std::unique_ptr<BulkInvariant> bi) {
    bi->next = nullptr;
    if (stored.empty())
        firstBulkInvariant = bi.get();
    else
        stored.back()->next = bi.get();
    stored.push_back(std::move(bi));
}

void ensureWorkingRecords() {
    if (!LocalBulk)
        LocalBulk.reset(allocNewBulkInvariant(nullptr));
    if (!DummyBulk)
        DummyBulk.reset(allocNewBulkInvariant(nullptr));
    if (!CurrentBulk)
        CurrentBulk = LocalBulk.get();
}

bool isWorkingRecord(const BulkInvariant* bi) {
    return bi == LocalBulk.get() || bi == DummyBulk.get();
}

// The current invariant moves into the local record before a stored record that holds it goes:
// it stays what it was, as the caches stamped with it assume.
void keepCurrentInvariant() {
    if (CurrentBulk == LocalBulk.get())
        return;
    copyBulkInvariant(LocalBulk.get(), CurrentBulk);
    CurrentBulk = LocalBulk.get();
}

// The stored records go, from the last towards the first.
void emptyStore() {
    ensureWorkingRecords();
    keepCurrentInvariant();
    while (!stored.empty())
        stored.pop_back();
    firstBulkInvariant = nullptr;
    byForm.clear();
    hashes.clear();
    indexed = 0;
}

std::string automaticName(int number) {
    return "Invariant_" + std::to_string(number);
}

void announceStored(const BulkInvariant* bi, const std::string& name) {
    if (bi->trivial)
        Print("Diagonal invariant stored as \"%s\"\n", name.c_str());
    else
        Print("Modular invariant stored as \"%s\"\n", name.c_str());
}

void announcePresent(const BulkInvariant* found) {
    char text[64];
    std::snprintf(text, sizeof text, " %-15s", found->name.c_str());
    PrintNoRepeat("This invariant is already present as", text);
}

} // namespace

// ============================================================ Shared with the other files

namespace invariants_internal {

int param(Par p) {
    return *parameterSlot(p);
}

void setParam(Par p, int value) {
    *parameterSlot(p) = value;
}

void bindParameters() {
    for (std::size_t k = 0; k < parameterBindings.size(); k++)
        if (InternalParameter* ip = findInternalParameter(parameterBindings[k].name))
            boundParameters[k] = &ip->value;
}

BulkInvariant* getFirstBulkInvariant() {
    return firstBulkInvariant;
}

int takeAutomaticNumber() {
    return NameCount++;
}

int& totalMIPFCount() {
    return TotalMIPFCount;
}

BulkInvariant* storeOwnedBulkInvariant(const char* name, std::unique_ptr<BulkInvariant>& record,
                                       int notify) {
    BulkInvariant* bi = record.get();
    BulkInvariant* result = storeBulkInvariant(name, bi, 0, notify);
    if (result == bi)
        record.release(); // the store has taken it
    return result;
}

} // namespace invariants_internal

// ============================================================ Start-up and storing

void initializeInvariants() {
    bindParameters();
    prepareMIPFSelection();
    ensureWorkingRecords();
    CurrentBulk = LocalBulk.get();
    setAcceptCandidateInvariant(acceptCandidateInvariant);
}

BulkInvariant* storeBulkInvariant(const char* name, BulkInvariant* bi, int copy, int notify) {
    if (!bi)
        return nullptr;
    ensureWorkingRecords();
    adjustBulkInvariant(bi);
    if (name && findNamedBulkInvariant(name)) {
        Alert("storeBulkInvariant", 0, 100302, "Name \"%s\n already in use", name);
        return nullptr;
    }
    const std::uint64_t h = formHash(bi);
    if (BulkInvariant* found = firstEqualStored(bi, h)) {
        if (notify == 1)
            announcePresent(found);
        return found;
    }
    std::string chosen;
    int identifier = -1;
    if (name) {
        chosen = name;
    } else {
        identifier = takeAutomaticNumber();
        chosen = automaticName(identifier);
    }
    BulkInvariant* entry = bi;
    // A working record of the store stays where it is; the store keeps a copy of it.
    if (copy == 1 || isWorkingRecord(bi)) {
        std::unique_ptr<BulkInvariant> made = newCopyOfBulkInvariant(chosen.c_str(), bi);
        entry = made.get();
        append(std::move(made));
    } else {
        append(std::unique_ptr<BulkInvariant>(bi));
        bi->name = chosen;
    }
    indexRecord(entry, h); // the look-up above indexed every record before it
    entry->MD->MIPF_id = identifier;
    entry->MD->Subgroup_id = currentSubgroupLabel();
    if (notify == 1)
        announceStored(bi, chosen);
    return bi;
}

void resetInvariantStore() {
    NameCount = TotalMIPFCount = 0;
    clearPrimarySelection();
    emptyStore();
    setParam(Par::LoopStart, 0);
    setParam(Par::LoopEnd, LoopEndDefault);
}

void permutationRejectionChanged() {
    if (NameCount == 0)
        return;
    if (!getBackground())
        Print("Resetting invariant storage\n");
    resetInvariantStore();
}

void AutostoreChanged() {
    if (param(Par::Autostore) != 1)
        return;
    resetInvariantStore();
    Print("Resetting invariant storage\n");
    storeBulkInvariant(nullptr, CurrentBulk, 1, 0);
}

// ============================================================ The current invariant

BulkInvariant** getCurrentBulk() {
    ensureWorkingRecords();
    return &CurrentBulk;
}

int TotalInvariants() {
    return NameCount;
}

BulkInvariant* getDummyBulk() {
    ensureWorkingRecords();
    return DummyBulk.get();
}

BulkInvariant* getLocalBulk() {
    ensureWorkingRecords();
    return LocalBulk.get();
}

int setCurrentBulkInvariant(BulkInvariant* bi) {
    CurrentBulk = bi;
    bulkInvariantChanged();
    return 0;
}

void resetCurrentBulkToDiagonal() {
    ensureWorkingRecords();
    setDiagonalInvariant(LocalBulk.get());
    setCurrentBulkInvariant(LocalBulk.get());
    generateDiagonalSelectionWarning();
}

// ============================================================ Walks of the store

BulkInvariant* getLastBulkInvariant() {
    return stored.empty() ? nullptr : stored.back().get();
}

BulkInvariant* locateBulkInvariant(BulkInvariant* bi) {
    return firstEqualStored(bi, formHash(bi));
}

BulkInvariant* findNamedBulkInvariant(const char* name) {
    if (!name)
        return nullptr;
    for (const auto& bi : stored)
        if (bi->name == name)
            return bi.get();
    return nullptr;
}

BulkInvariant* addNewBulkInvariantToStorage(const char* name) {
    if (!name) {
        Alert("addNewBulkInvariantToStorage", 0, 212404, "Unexpected NULL name");
        return nullptr;
    }
    std::unique_ptr<BulkInvariant> bi(allocNewBulkInvariant(name));
    BulkInvariant* entry = bi.get();
    append(std::move(bi));
    return entry;
}

int removeLastBulkInvariant() {
    if (stored.empty())
        return 0;
    const bool several = stored.size() >= 2;
    if (stored.back().get() == CurrentBulk)
        keepCurrentInvariant();
    if (indexed == stored.size()) {
        auto bucket = byForm.find(hashes.back());
        bucket->second.pop_back();
        if (bucket->second.empty())
            byForm.erase(bucket);
        hashes.pop_back();
        indexed--;
    }
    stored.pop_back();
    if (stored.empty())
        firstBulkInvariant = nullptr;
    else
        stored.back()->next = nullptr;
    return several ? 1 : 0;
}

void freeAllBulkInvariants() {
    emptyStore();
}

void printBulkInvariantPointers() {
    ensureWorkingRecords();
    std::printf("Local bulk: %p\n", static_cast<void*>(LocalBulk.get()));
    std::printf("Current bulk: %p\n", static_cast<void*>(CurrentBulk));
    std::printf("First bulk: %p\n", static_cast<void*>(firstBulkInvariant));
    for (BulkInvariant* bi = firstBulkInvariant; bi; bi = bi->next)
        std::printf("Next: %p\n", static_cast<void*>(bi));
}
