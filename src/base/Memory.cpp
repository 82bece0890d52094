#include "base/Memory.h"

#include "base/Allocation.h"
#include "base/Error.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <new>

namespace {

AllocCount Memory_alloc = AllocCount{0xFFFFFFFFu, 0, "Storage", showMemoryUse};
MemoryType* firstMemory = nullptr;

constexpr int LargestRequest = 1073741823;
constexpr char CharSentinel = 127;
constexpr int TextStart = 256;  // size and increment of a new text area
constexpr int TextSlack = 10;   // a text must end this far before Size
constexpr int NamePadding = 25; // per-area overhead counted in the reported total

// Bytes of one entry; 0 for a type the module does not know.
std::size_t entrySize(char type) {
    switch (type) {
    case 'c':
        return sizeof(char);
    case 'd':
        return sizeof(double);
    case 'i':
        return sizeof(int);
    case 'p':
        return sizeof(void*);
    default:
        return 0;
    }
}

void* blockOf(const MemoryType* sd) {
    switch (sd->Type) {
    case 'c':
        return sd->AllocatedSpace.cSpace;
    case 'd':
        return sd->AllocatedSpace.dSpace;
    case 'i':
        return sd->AllocatedSpace.iSpace;
    case 'p':
        return sd->AllocatedSpace.pSpace;
    default:
        return nullptr;
    }
}

Space spaceOf(char type, void* block) {
    Space space = NULLSpace;
    switch (type) {
    case 'c':
        space.cSpace = static_cast<char*>(block);
        break;
    case 'd':
        space.dSpace = static_cast<double*>(block);
        break;
    case 'i':
        space.iSpace = static_cast<int*>(block);
        break;
    case 'p':
        space.pSpace = static_cast<void**>(block);
        break;
    default:
        break;
    }
    return space;
}

std::size_t blockBytes(std::int64_t size, char type) {
    return static_cast<std::size_t>(size + 1) * entrySize(type);
}

void writeSentinel(MemoryType* sd) {
    const int end = sd->Size;
    switch (sd->Type) {
    case 'c':
        sd->AllocatedSpace.cSpace[end] = CharSentinel;
        break;
    case 'd':
        sd->AllocatedSpace.dSpace[end] = DBL_MAX;
        break;
    case 'i':
        sd->AllocatedSpace.iSpace[end] = INT_MAX;
        break;
    case 'p':
        sd->AllocatedSpace.pSpace[end] = nullptr;
        break;
    default:
        break;
    }
}

bool sentinelIntact(const MemoryType* sd) {
    const int end = sd->Size;
    switch (sd->Type) {
    case 'c':
        return sd->AllocatedSpace.cSpace[end] == CharSentinel;
    case 'd':
        return sd->AllocatedSpace.dSpace[end] == DBL_MAX;
    case 'i':
        return sd->AllocatedSpace.iSpace[end] == INT_MAX;
    case 'p':
        return sd->AllocatedSpace.pSpace[end] == nullptr;
    default:
        return true;
    }
}

void printEntry(const MemoryType* sd, int i) {
    switch (sd->Type) {
    case 'c':
        std::printf("%d\n", static_cast<unsigned char>(sd->AllocatedSpace.cSpace[i]));
        break;
    case 'd':
        std::printf("%.17g\n", sd->AllocatedSpace.dSpace[i]);
        break;
    case 'i':
        std::printf("%d\n", sd->AllocatedSpace.iSpace[i]);
        break;
    case 'p':
        std::printf("%ju\n", static_cast<std::uintmax_t>(
                                 reinterpret_cast<std::uintptr_t>(sd->AllocatedSpace.pSpace[i])));
        break;
    default:
        break;
    }
}

char* copyName(const char* name) {
    const std::size_t bytes = std::strlen(name) + 1;
    auto* copy = static_cast<char*>(allocate(bytes, &Memory_alloc, "Memory name"));
    std::memcpy(copy, name, bytes);
    return copy;
}

// Takes or resizes the data block for newSize entries plus the sentinel. A size the heap
// operations refuse ends the program there, so whatever returns fits in an int.
void resizeBlock(MemoryType* sd, std::int64_t newSize) {
    void* old = blockOf(sd);
    void* block = old ? reallocate(old, blockBytes(newSize, sd->Type),
                                   blockBytes(sd->Size, sd->Type), nullptr, sd->Name)
                      : allocate(blockBytes(newSize, sd->Type), nullptr, sd->Name);
    sd->AllocatedSpace = spaceOf(sd->Type, block);
    sd->Size = static_cast<int>(newSize);
    writeSentinel(sd);
}

void reportGrowth(const MemoryType* sd, int oldSize, bool first) {
    if (first)
        Alert("allocMemoryDirect", 0, 110010,
              "Memory %s allocated\nPresent size = %d entries\nTotal workspace allocation %zu "
              "bytes\n",
              sd->Name, sd->Size, getMemoryAlloc());
    else
        Alert("allocMemoryDirect", 1, 110110,
              "Memory %s re-allocated\nOld size = %d entries, new size = %d entries\nTotal "
              "allocation %zu bytes",
              sd->Name, oldSize, sd->Size, getMemoryAlloc());
}

// The area of that name for getCharSpace and relatives: made when missing, refused when it
// holds another type, since its entries would then be misread.
MemoryType* typedArea(const char* routine, const char* name, char type, int size) {
    size = std::max(size, 0);
    MemoryType* sd = findMemory(name);
    if (!sd) {
        const int increment =
            size > TextStart
                ? static_cast<int>(std::min<std::int64_t>(2 * std::int64_t{size}, INT_MAX))
                : TextStart;
        sd = initMemory(name, type, size, increment);
    } else if (sd->Type != type) {
        Alert(routine, 0, 212404, "Memory %s is of type %c, not %c", name, sd->Type, type);
        return nullptr;
    }
    if (sd)
        allocMemoryDirect(sd, size);
    return sd;
}

// The character area of a text buffer, made as an empty text when missing.
MemoryType* textArea(const char* routine, const char* name) {
    const bool made = !findMemory(name);
    if (made && name)
        initMemory(name, 'c', TextStart, TextStart);
    MemoryType* sd = typedArea(routine, name, 'c', TextStart);
    if (sd && made)
        sd->AllocatedSpace.cSpace[0] = '\0';
    return sd;
}

// Doubles the area until a text of `length` characters ends at least TextSlack before Size.
char* fitText(MemoryType* sd, std::int64_t length) {
    while (length > sd->Size - TextSlack)
        allocMemory(sd->Name,
                    static_cast<int>(std::min<std::int64_t>(2 * std::int64_t{sd->Size}, INT_MAX)));
    return sd->AllocatedSpace.cSpace;
}

// Length of the text in the area, never read past its Size entries.
std::int64_t textLength(const MemoryType* sd) {
    return static_cast<std::int64_t>(strnlen(sd->AllocatedSpace.cSpace, sd->Size));
}

// A source text lying inside the area itself would be left behind when growth moves the block;
// its offset is kept instead. Returns -1 for a text outside the area.
std::int64_t offsetInArea(const MemoryType* sd, const char* text) {
    if (!sd || !sd->AllocatedSpace.cSpace)
        return -1;
    const char* begin = sd->AllocatedSpace.cSpace;
    const char* end = begin + sd->Size + 1;
    const std::less<const char*> before;
    if (before(text, begin) || !before(text, end))
        return -1;
    return text - begin;
}

char* putText(const char* routine, const char* buffername, const char* string, bool append) {
    if (!string)
        return nullptr;
    const std::int64_t inside = offsetInArea(findMemory(buffername), string);
    MemoryType* sd = textArea(routine, buffername);
    if (!sd)
        return nullptr;
    const std::int64_t start = append ? textLength(sd) : 0;
    const auto length = static_cast<std::int64_t>(std::strlen(string));
    char* text = fitText(sd, start + length);
    if (inside >= 0)
        string = text + inside;
    std::memmove(text + start, string, static_cast<std::size_t>(length) + 1);
    return text;
}

char* readLine(const char* routine, const char* buffername, FILE* fp, bool append) {
    if (!fp)
        return nullptr;
    MemoryType* sd = textArea(routine, buffername);
    if (!sd)
        return nullptr;
    std::int64_t length = append ? textLength(sd) : 0;
    bool ended = false;
    for (;;) {
        const int ch = std::getc(fp);
        if (ch == EOF || (append && ch == 255)) {
            ended = true;
            break;
        }
        if (ch == '\n')
            break;
        fitText(sd, length + 1)[length] = static_cast<char>(ch);
        ++length;
    }
    char* text = fitText(sd, length + 1);
    text[length] = '\0';
    // A line that ended normally must not leave an old end-of-input mark standing here.
    text[length + 1] = ended ? '\n' : '\0';
    return text;
}

} // namespace

MemoryType* initMemory(const char* name, char type, int size, int increment) {
    if (!name)
        return nullptr;
    if (MemoryType* existing = findMemory(name)) {
        Alert("initMemory", 0, 212304, "Attempt to re-initialize memory %s", name);
        return existing;
    }
    if (increment < 1) {
        Alert("initMemory", 2, 212302, "Meaningless increment specified for memory %s", name);
        increment = 1; // such an area grows one entry beyond its need
    }
    void* record = allocate(sizeof(MemoryType), &Memory_alloc, "Memory pointer");
    auto* sd = new (record) MemoryType{firstMemory, copyName(name), NULLSpace, type, 0, increment};
    firstMemory = sd;
    if (size >= 1)
        allocMemory(name, size);
    return sd;
}

Space allocMemory(const char* name, int size) {
    if (size > LargestRequest) {
        Alert("allocMemory", 0, 120505,
              "Request for array of size %d\nThis will probably result in a fatal error\n", size);
    } else if (size < 0) {
        checkMemory("allocMemory");
        Alert("allocMemory", 1, 120505, "Request for array of negative size %d\n", size);
        size = 0;
    }
    MemoryType* sd = getExistingMemory(name);
    if (!sd) {
        Alert("allocMemory", 2, 120505, "Memory %s not allocated", name);
        return NULLSpace;
    }
    return allocMemoryDirect(sd, size);
}

Space allocMemoryDirect(MemoryType* sd, int size) {
    if (!sd)
        return NULLSpace;
    const std::int64_t need = std::int64_t{size} + size / 10 + 1;
    if (sd->Size > need)
        return sd->AllocatedSpace;
    if (entrySize(sd->Type) == 0) {
        Alert("allocMemoryDirect", 2, 212404, "Memory %s has unknown type %c", sd->Name, sd->Type);
        return sd->AllocatedSpace;
    }
    const std::int64_t step = std::max(sd->Increment, 1);
    const std::int64_t newSize = sd->Size + ((need - sd->Size) / step + 1) * step;
    const int oldSize = sd->Size;
    const bool first = blockOf(sd) == nullptr;
    resizeBlock(sd, newSize);
    reportGrowth(sd, oldSize, first);
    return sd->AllocatedSpace;
}

MemoryType* findMemory(const char* name) {
    if (!name)
        return nullptr;
    for (MemoryType* sd = firstMemory; sd; sd = sd->next)
        if (std::strcmp(sd->Name, name) == 0)
            return sd;
    return nullptr;
}

MemoryType* getExistingMemory(const char* name) {
    MemoryType* sd = findMemory(name);
    if (!sd)
        Alert("getExistingMemory", 0, 100407, "Memory %s not initialized", name);
    return sd;
}

Space findExistingMemory(const char* name) {
    const MemoryType* sd = getExistingMemory(name);
    return sd ? sd->AllocatedSpace : NULLSpace;
}

int MemorySize(const char* name) {
    const MemoryType* sd = getExistingMemory(name);
    return sd ? sd->Size : 0;
}

MemoryType* getCharBuffer(const char* name, int size) {
    return typedArea("getCharBuffer", name, 'c', size);
}

MemoryType* getIntBuffer(const char* name, int size) {
    return typedArea("getIntBuffer", name, 'i', size);
}

char* getCharSpace(const char* name, int size) {
    const MemoryType* sd = typedArea("getCharSpace", name, 'c', size);
    return sd ? sd->AllocatedSpace.cSpace : nullptr;
}

int* getIntSpace(const char* name, int size) {
    const MemoryType* sd = typedArea("getIntSpace", name, 'i', size);
    return sd ? sd->AllocatedSpace.iSpace : nullptr;
}

double workAreaBytesAtMost(char type, double size) {
    const double need = std::max(size, 0.0) + std::floor(std::max(size, 0.0) / 10) + 1;
    const double entries = need + std::max(need, double(TextStart)) + 1; // with the sentinel
    return entries * static_cast<double>(entrySize(type));
}

char* copyStringToBuffer(const char* buffername, const char* string) {
    return putText("copyStringToBuffer", buffername, string, false);
}

char* catStringToBuffer(const char* buffername, const char* string) {
    return putText("catStringToBuffer", buffername, string, true);
}

char* readLineToBuffer(const char* buffername, FILE* fp) {
    return readLine("readLineToBuffer", buffername, fp, false);
}

char* readLineToEndBuffer(const char* buffername, FILE* fp) {
    return readLine("readLineToEndBuffer", buffername, fp, true);
}

void MemError(MemoryType* sd, const char* location) {
    Alert("MemError", 0, 120505, "Array %s exceeds boundary;\nPresent size %d; location %s",
          sd->Name, sd->Size, location);
    const int last = std::max(sd->Size - 9, 0);
    for (int i = sd->Size; i >= last; --i)
        printEntry(sd, i);
}

void checkMemory(const char* location) {
    for (MemoryType* sd = firstMemory; sd; sd = sd->next)
        if (sd->Size >= 1 && blockOf(sd) && !sentinelIntact(sd))
            MemError(sd, location);
}

void verifyMemory(const char* name, int size) {
    checkMemory("verifyMemory");
    const MemoryType* sd = getExistingMemory(name);
    if (!sd)
        Alert("verifyMemory", 0, 212304, "Memory %s not allocated", name);
    else if (sd->Size < size)
        Alert("verifyMemory", 1, 212304, "Memory %s too small", name);
}

void releaseMemory(const char* name) {
    MemoryType* sd = getExistingMemory(name);
    if (!sd) {
        Alert("releaseMemory", 0, 120505, "Memory %s not allocated", name);
        return;
    }
    if (void* block = blockOf(sd)) {
        freespace(block, blockBytes(sd->Size, sd->Type), nullptr, sd->Name);
        sd->AllocatedSpace = NULLSpace;
    }
    sd->Size = 0;
}

std::size_t getMemoryAlloc() {
    std::size_t total = Memory_alloc.TotalAlloc == 0xFFFFFFFFu ? 0 : Memory_alloc.TotalAlloc;
    for (const MemoryType* sd = firstMemory; sd; sd = sd->next) {
        if (blockOf(sd))
            total += blockBytes(sd->Size, sd->Type);
        total += std::strlen(sd->Name) + NamePadding;
    }
    return total;
}

void showMemoryUse() {
    for (const MemoryType* sd = firstMemory; sd; sd = sd->next)
        if (sd->Size != 0)
            std::printf("Name: %s; Type: %c; Allocation: %d\n", sd->Name, sd->Type, sd->Size);
}
