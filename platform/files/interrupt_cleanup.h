#pragma once

#include <csignal>
#include <cstddef>
#include <filesystem>

// While it lives, SIGINT, SIGTERM and SIGHUP first remove one scratch directory (a flat directory of
// files, as the commands stage them) and then end the process as the signal would have. The removal
// runs inside the signal handler, with system calls only, so that it cannot stop on a lock the
// interrupted code held. Several may live at once (a file written atomically into a staging
// directory stages itself in a scratch directory of its own there); on a signal the newest go first,
// so that a scratch directory inside another is gone before the other is removed.
class RemoveOnInterrupt {
public:
    // The most that can be armed at once; beyond it (or when the directory cannot be opened) the run
    // goes on unguarded, and only an interruption would leave the directory for the next run.
    static constexpr std::size_t kCapacity = 8;

    explicit RemoveOnInterrupt(const std::filesystem::path& directory);
    ~RemoveOnInterrupt();
    RemoveOnInterrupt(const RemoveOnInterrupt&) = delete;
    RemoveOnInterrupt& operator=(const RemoveOnInterrupt&) = delete;

private:
    int slot_ = -1;
};

// While it lives, those signals wait: a step that must not stop halfway (moving a set of files into
// place, arming or disarming a removal) finishes first, and a signal that came meanwhile is acted on
// afterwards.
class HoldInterrupts {
public:
    HoldInterrupts();
    ~HoldInterrupts();
    HoldInterrupts(const HoldInterrupts&) = delete;
    HoldInterrupts& operator=(const HoldInterrupts&) = delete;

private:
    sigset_t previous_;
};
