// Standard output sent to /dev/null while a benchmark runs commands that print.
#pragma once

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

// Standard output goes to /dev/null while the object lives.
class Silenced {
public:
    Silenced() {
        std::fflush(stdout);
        saved_ = dup(1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        close(null);
    }
    ~Silenced() {
        std::fflush(stdout);
        dup2(saved_, 1);
        close(saved_);
    }
    Silenced(const Silenced&) = delete;
    Silenced& operator=(const Silenced&) = delete;

private:
    int saved_ = -1;
};
