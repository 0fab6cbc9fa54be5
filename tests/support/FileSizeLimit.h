#pragma once

// A full disk as the program's writers meet it, for this test process only:
// while the limit holds, a write that would take a file past `bytes` fails
// (EFBIG, the signal it raises ignored), as a write to a full disk fails.
// Other test processes running at the same time are not touched.

#include <sys/resource.h>

#include <csignal>

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &mOld);
        mOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = mOld;
        limit.rlim_cur = bytes;
        mHeld = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() { lift(); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    // False when the limit could not be set.
    bool held() const { return mHeld; }
    // Room again.
    void lift()
    {
        if (!mHeld)
            return;
        setrlimit(RLIMIT_FSIZE, &mOld);
        std::signal(SIGXFSZ, mOldHandler);
        mHeld = false;
    }

private:
    rlimit mOld{};
    void (*mOldHandler)(int) = SIG_DFL;
    bool mHeld = false;
};
