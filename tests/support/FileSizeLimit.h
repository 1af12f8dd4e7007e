#pragma once

#include <csignal>
#include <sys/resource.h>

// A disk that fills while a file is written, without filling one: while it lives, no file of
// this process can grow beyond `bytes`; the write that would go past it writes what fits and
// the next fails with EFBIG, as a write fails with ENOSPC on a disk that has no room left. The
// signal the system sends then is ignored, so that the writer sees the failed write.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &before_);
        signal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = before_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, signal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit before_{};
    void (*signal_)(int) = nullptr;
};
