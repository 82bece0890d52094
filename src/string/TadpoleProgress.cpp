#include "base/Output.h"
#include "base/SystemUtility.h"
#include "string/Tadpole.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t InitialSize = 20000;
constexpr std::size_t MinFree = 2000;
constexpr std::size_t Growth = 5000;

std::string TadpoleProgressInfo;
std::size_t Held = 0; // the room the report may use before it grows
bool Buffering = false;
double StartTime = 0.0;

} // namespace

void initTadpoleProgressInfo() {
    TadpoleProgressInfo.clear();
    if (Held < InitialSize)
        Held = InitialSize;
    Buffering = true;
}

void bufferTadpoleProgressInfo(const char* fmt, ...) {
    if (!Buffering)
        return;
    const bool marker = std::strstr(fmt, ".....") != nullptr;
    if (marker)
        StartTime = CPUTime();
    if (Held - TadpoleProgressInfo.size() < MinFree) {
        std::printf("Allocating TPI");
        Held = TadpoleProgressInfo.size() + Growth;
        std::fprintf(stderr, "old size: %d\n", static_cast<int>(TadpoleProgressInfo.size()));
        std::printf("Finished allocating TPI");
    }
    va_list ap;
    va_start(ap, fmt);
    TadpoleProgressInfo += formatText(fmt, ap);
    va_end(ap);
    const double elapsed = CPUTime() - StartTime;
    if (!marker && elapsed > 0.01) {
        char time[40];
        std::snprintf(time, sizeof time, " (%5.2f sec.)\n", elapsed);
        TadpoleProgressInfo += time;
    } else
        TadpoleProgressInfo += " \n";
}

void resetTadpoleProgressInfo() {
    Buffering = false;
}

int checkTadpoleProgressInfo(const char* s) {
    return Held > 0 && TadpoleProgressInfo.find(s) != std::string::npos ? 1 : 0;
}

const char* getTadpoleProgressInfo() {
    return TadpoleProgressInfo.c_str();
}

void resetTadpoleProgressState() {
    TadpoleProgressInfo = std::string();
    Held = 0;
    Buffering = false;
    StartTime = 0.0;
}
