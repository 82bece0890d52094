// Named work areas: typed arrays that any module finds by name, that grow in whole increments
// with some slack, and that end in a sentinel so that a write past the end can be detected.
#pragma once

#include <cstddef>
#include <cstdio>

// The data of an area; the member in use is the one of the area's type.
union Space {
    int* iSpace;
    char* cSpace;
    double* dSpace;
    void** pSpace;
};

// Returned when no area is found.
inline constexpr Space NULLSpace{};

struct MemoryType {
    MemoryType* next;
    char* Name;
    Space AllocatedSpace; // Size + 1 entries, the last one the sentinel; null before allocation
    char Type;            // 'c' characters, 'd' doubles, 'i' ints, 'p' pointers
    int Size;
    int Increment;
};

MemoryType* initMemory(const char* name, char type, int size, int increment);
Space allocMemory(const char* name, int size);
Space allocMemoryDirect(MemoryType* sd, int size);

Space findExistingMemory(const char* name);
MemoryType* getExistingMemory(const char* name);
MemoryType* findMemory(const char* name);
int MemorySize(const char* name);

char* getCharSpace(const char* name, int size);
int* getIntSpace(const char* name, int size);
MemoryType* getCharBuffer(const char* name, int size);
MemoryType* getIntBuffer(const char* name, int size);
// The most bytes getCharSpace or getIntSpace may allocate for an area they made, for a request
// of `size` entries. The area must exceed the need of a tenth above the request: a new one takes
// its increment of twice the request, an old one grows past the need by at most its increment,
// which never exceeds its size (or is the small-area increment), so up to about 2.2 times the
// request. For callers that refuse a request too large to make; in doubles, since such a request
// need not fit in an int.
double workAreaBytesAtMost(char type, double size);

char* copyStringToBuffer(const char* buffername, const char* string);
char* catStringToBuffer(const char* buffername, const char* string);
// At the end of input the character after the terminator is a newline.
char* readLineToBuffer(const char* buffername, FILE* fp);
char* readLineToEndBuffer(const char* buffername, FILE* fp);

void checkMemory(const char* location);
void verifyMemory(const char* name, int size);
void MemError(MemoryType* sd, const char* location);
void releaseMemory(const char* name);
std::size_t getMemoryAlloc();
void showMemoryUse();
