// Named parameters: switches, integers and strings with their live values.
#pragma once

void* getIntParPointer(const char* name);
void setIntPar(const char* name, int value);
