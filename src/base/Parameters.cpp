#include "base/Parameters.h"

#include "base/Allocation.h"
#include "base/Error.h"
#include "base/StringUtility.h"

#include <cstdio>
#include <cstring>

namespace {

AllocCount ParameterCount = ALLOC_COUNTER("Parameters");

InternalParameter* FirstPar = nullptr;

InternalParameter* newParameter(const char* name) {
    auto* ip = static_cast<InternalParameter*>(
        allocate(sizeof(InternalParameter), &ParameterCount, "Internal parameter pointer"));
    std::size_t size = std::strlen(name) + 1;
    ip->name =
        static_cast<char*>(allocate(size, &ParameterCount, "Internal parameter pointer name"));
    std::memcpy(ip->name, name, size);
    ip->type = '\0';
    ip->DF = nullptr;
    ip->default_action = nullptr;
    ip->value = 0;
    ip->default_exists = 0;
    ip->next = FirstPar;
    FirstPar = ip;
    return ip;
}

// "ON" and "OFF" set a switch; any other text leaves it.
void takeSwitchText(InternalParameter* ip, const char* text) {
    if (!text)
        return;
    if (std::strcmp(text, "ON") == 0)
        ip->value = 1;
    else if (std::strcmp(text, "OFF") == 0)
        ip->value = 0;
}

void takeIntegerText(InternalParameter* ip, const char* text) {
    if (text)
        ip->value = strnum(text);
}

void runAction(InternalParameter* ip) {
    if (ip->default_action)
        ip->default_action();
}

} // namespace

InternalParameter* addInternalParameter(const char* name, const char* value, char datatype,
                                        int addToDefaults) {
    InternalParameter* ip = getInternalParameter(name);
    if (addToDefaults == 1) {
        ip->DF = findDefaultPointer(name);
        if (!ip->DF || !ip->DF->value)
            ip->DF = setDefault(name, value);
    } else {
        ip->DF = nullptr;
    }
    ip->default_exists = addToDefaults;
    ip->type = datatype;
    switch (datatype) {
    case 't':
        takeSwitchText(ip, value);
        break;
    case 'i':
        takeIntegerText(ip, value);
        break;
    case 's':
        if (!ip->DF) {
            printErrorMessage("String parameter must be in defaults data base\n");
            ip->DF = setDefault(name, value ? value : "");
        }
        break;
    default:
        printErrorMessage("Invalid parametertype\n");
    }
    return ip;
}

void getIntParDefaults() {
    for (InternalParameter* ip = FirstPar; ip; ip = ip->next) {
        if (!ip->DF)
            continue;
        if (ip->type == 't')
            takeSwitchText(ip, ip->DF->value);
        else if (ip->type == 'i')
            takeIntegerText(ip, ip->DF->value);
    }
}

void* getIntParPointer(const char* name) {
    InternalParameter* ip = findInternalParameter(name);
    if (!ip) {
        printErrorMessage("Parameter %s not found\n", name);
        return nullptr;
    }
    if (ip->type == 's')
        return ip->DF ? ip->DF->value : nullptr;
    return &ip->value;
}

void setIntPar(const char* name, int value) {
    InternalParameter* ip = findInternalParameter(name);
    if (!ip)
        printErrorMessage("Parameter %s not found\n", name);
    else if (ip->type == 't')
        set_switch(ip, value);
    else if (ip->type == 'i')
        set_value(ip, value);
    else
        printErrorMessage("Invalid parameter type for parameter %s\n", name);
}

void set_switch(InternalParameter* ip, int value) {
    ip->value = value;
    runAction(ip);
    if (ip->DF && (value == 0 || value == 1))
        changeDefault(ip->DF, value == 1 ? "ON" : "OFF");
}

void set_value(InternalParameter* ip, int value) {
    ip->value = value;
    if (ip->DF)
        changeDefault(ip->DF, numstr(value));
    runAction(ip);
}

void addDefaultAction(const char* name, DFACT action) {
    InternalParameter* ip = findInternalParameter(name);
    if (!ip) {
        printErrorMessage("Parameter %s not found\n", name);
        return;
    }
    ip->default_action = action;
}

InternalParameter* findInternalParameter(const char* name) {
    for (InternalParameter* ip = FirstPar; ip; ip = ip->next)
        if (std::strcmp(ip->name, name) == 0)
            return ip;
    return nullptr;
}

InternalParameter* getInternalParameter(const char* name) {
    InternalParameter* ip = findInternalParameter(name);
    return ip ? ip : newParameter(name);
}

void resetParameterState() {
    while (InternalParameter* ip = FirstPar) {
        FirstPar = ip->next;
        freespace(ip->name, std::strlen(ip->name) + 1, &ParameterCount,
                  "Internal parameter pointer name");
        freespace(ip, sizeof(InternalParameter), &ParameterCount, "Internal parameter pointer");
    }
}

InternalParameter* FirstParameter() {
    return FirstPar;
}

InternalParameter* nextParameter(InternalParameter* ip) {
    return ip ? ip->next : nullptr;
}

char* getParameterNameString(char* txt, InternalParameter* ip, int) {
    return txt + std::sprintf(txt, "%s ", ip->name);
}

char* getParameterValueString(char* txt, InternalParameter* ip, int) {
    if (ip->DF)
        return txt + std::sprintf(txt, "%s", ip->DF->value ? ip->DF->value : "");
    if (ip->type == 't') {
        const char* text = ip->value == 1 ? "ON" : ip->value == 0 ? "OFF" : "Undefined";
        return txt + std::sprintf(txt, "%s", text);
    }
    return txt + std::sprintf(txt, "%d", ip->value);
}

char* getParameterDefaultString(char* txt, InternalParameter* ip, int) {
    if (ip->default_exists == 1)
        return txt + std::sprintf(txt, "(*)");
    *txt = '\0';
    return txt;
}
