#include "platform/files/interrupt_cleanup.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// What the handler needs for one directory, prepared beforehand: descriptors of the directory and of
// its parent, and its name in the parent. `sequence` orders the removals, newest first; 0 is a free slot.
struct Slot {
    volatile std::sig_atomic_t armed;
    unsigned long sequence;
    int directory_fd;
    int parent_fd;
    char name[256];
};
Slot slots[RemoveOnInterrupt::kCapacity];
unsigned long last_sequence = 0;
std::size_t armed_count = 0;
struct sigaction previous_actions[std::size(kSignals)];
bool installed[std::size(kSignals)];

bool dot_entry(const char* name) { return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')); }

void remove_directory(const Slot& slot) {
    alignas(dirent64) char buffer[8192];
    for (;;) {
        ::lseek(slot.directory_fd, 0, SEEK_SET);
        const ssize_t length = ::getdents64(slot.directory_fd, buffer, sizeof buffer);
        if (length <= 0) break;
        bool removed = false;
        for (ssize_t at = 0; at < length;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
            if (!dot_entry(entry->d_name) && ::unlinkat(slot.directory_fd, entry->d_name, 0) == 0) removed = true;
            at += entry->d_reclen;
        }
        if (!removed) break;
    }
    ::unlinkat(slot.parent_fd, slot.name, AT_REMOVEDIR);
}

extern "C" void remove_and_end(int signal) {
    // The handler blocks the other signals, and SA_RESETHAND makes it run once: nothing races it here.
    for (;;) {
        Slot* newest = nullptr;
        for (Slot& slot : slots)
            if (slot.armed && (!newest || slot.sequence > newest->sequence)) newest = &slot;
        if (!newest) break;
        newest->armed = 0;
        remove_directory(*newest);
    }
    // SA_RESETHAND gave the signal its default action back; raised again, it ends the process with the
    // status a shell expects of it.
    ::raise(signal);
}

void close_descriptors(Slot& slot) {
    if (slot.directory_fd >= 0) ::close(slot.directory_fd);
    if (slot.parent_fd >= 0) ::close(slot.parent_fd);
    slot.directory_fd = slot.parent_fd = -1;
    slot.sequence = 0;
}

void install_handler() {
    struct sigaction action = {};
    action.sa_handler = remove_and_end;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals) sigaddset(&action.sa_mask, signal);
    action.sa_flags = SA_RESETHAND;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        // A signal the process was started to ignore (a background job's SIGINT) stays ignored.
        ::sigaction(kSignals[i], nullptr, &previous_actions[i]);
        installed[i] = previous_actions[i].sa_handler != SIG_IGN;
        if (installed[i]) ::sigaction(kSignals[i], &action, nullptr);
    }
}

void restore_handlers() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        if (installed[i]) ::sigaction(kSignals[i], &previous_actions[i], nullptr);
}

}  // namespace

RemoveOnInterrupt::RemoveOnInterrupt(const std::filesystem::path& directory) {
    const std::string name = directory.filename().string();
    if (name.size() >= sizeof slots[0].name) throw std::logic_error("scratch directory name too long: " + name);
    HoldInterrupts held;
    int free = -1;
    for (std::size_t i = 0; i < std::size(slots) && free < 0; ++i)
        if (slots[i].sequence == 0) free = static_cast<int>(i);
    if (free < 0) return;
    Slot& slot = slots[free];
    name.copy(slot.name, name.size());
    slot.name[name.size()] = '\0';
    slot.directory_fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // The parent is only a place to remove from: O_PATH needs no read permission on it.
    slot.parent_fd = ::open(directory.parent_path().empty() ? "." : directory.parent_path().c_str(),
                            O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (slot.directory_fd < 0 || slot.parent_fd < 0) {
        close_descriptors(slot);
        return;
    }
    slot.sequence = ++last_sequence;
    slot_ = free;
    // A signal that came while the handler was being installed waits for `held`, so it meets the slot armed.
    if (armed_count++ == 0) install_handler();
    slot.armed = 1;
}

RemoveOnInterrupt::~RemoveOnInterrupt() {
    if (slot_ < 0) return;
    HoldInterrupts held;
    Slot& slot = slots[slot_];
    slot.armed = 0;
    if (--armed_count == 0) restore_handlers();
    close_descriptors(slot);
}

HoldInterrupts::HoldInterrupts() {
    sigset_t held;
    sigemptyset(&held);
    for (int signal : kSignals) sigaddset(&held, signal);
    ::sigprocmask(SIG_BLOCK, &held, &previous_);
}

HoldInterrupts::~HoldInterrupts() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }
