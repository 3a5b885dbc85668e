#include "platform/files/interrupt_cleanup.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// What the handler needs, prepared beforehand: descriptors of the directory and of its parent, and
// its name in the parent.
volatile std::sig_atomic_t armed = 0;
int directory_fd = -1;
int parent_fd = -1;
char directory_name[256];
struct sigaction previous_actions[std::size(kSignals)];
bool installed[std::size(kSignals)];

bool dot_entry(const char* name) { return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')); }

void remove_directory() {
    alignas(dirent64) char buffer[8192];
    for (;;) {
        ::lseek(directory_fd, 0, SEEK_SET);
        const ssize_t length = ::getdents64(directory_fd, buffer, sizeof buffer);
        if (length <= 0) break;
        bool removed = false;
        for (ssize_t at = 0; at < length;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
            if (!dot_entry(entry->d_name) && ::unlinkat(directory_fd, entry->d_name, 0) == 0) removed = true;
            at += entry->d_reclen;
        }
        if (!removed) break;
    }
    ::unlinkat(parent_fd, directory_name, AT_REMOVEDIR);
}

extern "C" void remove_and_end(int signal) {
    if (armed) {
        armed = 0;
        remove_directory();
    }
    // SA_RESETHAND gave the signal its default action back; raised again, it ends the process with the
    // status a shell expects of it.
    ::raise(signal);
}

void close_descriptors() {
    if (directory_fd >= 0) ::close(directory_fd);
    if (parent_fd >= 0) ::close(parent_fd);
    directory_fd = parent_fd = -1;
}

}  // namespace

RemoveOnInterrupt::RemoveOnInterrupt(const std::filesystem::path& directory) {
    const std::string name = directory.filename().string();
    if (name.size() >= sizeof directory_name) throw std::logic_error("scratch directory name too long: " + name);
    name.copy(directory_name, name.size());
    directory_name[name.size()] = '\0';
    directory_fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    parent_fd = ::open(directory.parent_path().empty() ? "." : directory.parent_path().c_str(),
                       O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory_fd < 0 || parent_fd < 0) {
        close_descriptors();
        return;  // the run goes on; only an interruption would leave the directory for the next run
    }
    armed = 1;
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

RemoveOnInterrupt::~RemoveOnInterrupt() {
    HoldInterrupts held;
    armed = 0;
    if (directory_fd >= 0)
        for (std::size_t i = 0; i < std::size(kSignals); ++i)
            if (installed[i]) ::sigaction(kSignals[i], &previous_actions[i], nullptr);
    close_descriptors();
}

HoldInterrupts::HoldInterrupts() {
    sigset_t held;
    sigemptyset(&held);
    for (int signal : kSignals) sigaddset(&held, signal);
    ::sigprocmask(SIG_BLOCK, &held, &previous_);
}

HoldInterrupts::~HoldInterrupts() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }
