#pragma once

#include <csignal>
#include <filesystem>

// While it lives, SIGINT, SIGTERM and SIGHUP first remove one scratch directory (a flat directory of
// files, as the application commands stage them) and then end the process as the signal would have.
// The removal runs inside the signal handler, with system calls only, so that it cannot stop on a
// lock the interrupted code held. One at a time per process.
class RemoveOnInterrupt {
public:
    explicit RemoveOnInterrupt(const std::filesystem::path& directory);
    ~RemoveOnInterrupt();
    RemoveOnInterrupt(const RemoveOnInterrupt&) = delete;
    RemoveOnInterrupt& operator=(const RemoveOnInterrupt&) = delete;
};

// While it lives, those signals wait: a step that must not stop halfway (moving a set of files into
// place) finishes first, and a signal that came meanwhile is acted on afterwards.
class HoldInterrupts {
public:
    HoldInterrupts();
    ~HoldInterrupts();
    HoldInterrupts(const HoldInterrupts&) = delete;
    HoldInterrupts& operator=(const HoldInterrupts&) = delete;

private:
    sigset_t previous_;
};
