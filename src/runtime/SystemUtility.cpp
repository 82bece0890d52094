// Placeholder until the system services exist.
#include "runtime/SystemUtility.h"

#include <cstdio>
#include <sys/stat.h>

int createDir(const char* name) {
    struct stat st;
    if (stat(name, &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : -1;
    return mkdir(name, 0777) == 0 ? 0 : -1;
}

char* getstring(char* string, int maxlen) {
    int n = 0;
    int c = 0;
    while (n < maxlen - 1 && (c = std::getchar()) != EOF && c != '\n')
        string[n++] = static_cast<char>(c);
    if (n == 0 && c == EOF)
        return nullptr;
    string[n] = '\0';
    return string;
}
