// System services: files, directories, paths, clocks and the host.
#pragma once

int createDir(const char* name);
char* getstring(char* string, int maxlen);
