// Where -o puts the bytes: files replaced whole, links written through, devices and FIFOs written into.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <future>
#include <string_view>

#include <gtest/gtest.h>

#include "platform/files/output.h"
#include "tests/appgen/form_fixture.h"
#include "tests/support/run_host.h"

namespace {

namespace fs = std::filesystem;

mode_t mode_of(const fs::path& file) {
    struct stat status {};
    EXPECT_EQ(::stat(file.c_str(), &status), 0) << file;
    return status.st_mode & 07777;
}

TEST(Output, AReplacedFileKeepsItsModeAndALinkIsWrittenThrough) {
    fixture::ScratchDir dir;
    fs::create_directories(dir.path() / "real");
    const fs::path target = dir.path() / "real" / "schema.sql";
    std::ofstream(target) << "old";
    ::chmod(target.c_str(), 0600);
    fs::create_symlink("real/schema.sql", dir.path() / "link.sql");

    write_file_atomically(dir.path() / "link.sql", "new");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.sql"));
    EXPECT_EQ(fixture::read_file(target), "new");
    EXPECT_EQ(mode_of(target), 0600u);
    EXPECT_EQ(fixture::files_in(dir.path() / "real"), (std::vector<std::string>{"schema.sql"}));  // no temporary left

    // A link to a file not there yet makes that file, and stays a link.
    fs::create_symlink("real/later.sql", dir.path() / "dangling.sql");
    write_file_atomically(dir.path() / "dangling.sql", "made");
    EXPECT_EQ(fixture::read_file(dir.path() / "real" / "later.sql"), "made");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "dangling.sql"));
}

TEST(Output, AFifoIsWrittenIntoNotReplaced) {
    fixture::ScratchDir dir;
    const fs::path fifo = dir.path() / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto reader = std::async(std::launch::async, [&] { return fixture::read_file(fifo); });
    write_file_atomically(fifo, "through the pipe");
    EXPECT_EQ(reader.get(), "through the pipe");
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(Output, DashIsStandardOutput) {
    const std::string diagram = std::string(KZR40_SOURCE_DIR) + "/examples/cliente.json";
    const HostRun plain = run_host({"sql", diagram});
    const HostRun dash = run_host({"sql", diagram, "-o", "-"});
    ASSERT_EQ(dash.status, 0) << dash.err;
    EXPECT_FALSE(dash.out.empty());
    EXPECT_EQ(dash.out.substr(dash.out.find("CREATE")), plain.out.substr(plain.out.find("CREATE")));
    EXPECT_FALSE(fs::exists("-"));
}

// A name of an open descriptor is that descriptor: a log opened for appending keeps its earlier lines,
// and a pipe (standard output of the run below) is written into instead of failing to be replaced.
TEST(Output, DescriptorNamesWriteIntoTheOpenDescriptor) {
    fixture::ScratchDir dir;
    const fs::path log = dir.path() / "log";
    std::ofstream(log) << "earlier\n";
    const int appending = ::open(log.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(appending, 0);
    const std::string number = std::to_string(appending);
    write_file_atomically("/proc/self/fd/" + number, "second\n");
    fs::create_symlink("/dev/fd/" + number, dir.path() / "to-log");
    write_file_atomically(dir.path() / "to-log", "third\n");
    ::close(appending);
    EXPECT_EQ(fixture::read_file(log), "earlier\nsecond\nthird\n");
    EXPECT_EQ(fixture::files_in(dir.path()), (std::vector<std::string>{"log", "to-log"}));
    EXPECT_THROW(write_file_atomically("/proc/self/fd/" + number, "closed"), std::runtime_error);

    const std::string diagram = std::string(KZR40_SOURCE_DIR) + "/examples/cliente.json";
    const HostRun piped = run_host({"sql", diagram, "-o", "/dev/stdout"});
    ASSERT_EQ(piped.status, 0) << piped.err;
    EXPECT_NE(piped.out.find("CREATE"), std::string::npos);
}

// A child process that writes `file` and stops halfway through the content, until a signal ends it;
// one the test leaves early is killed.
class HalfwayWriter {
public:
    explicit HalfwayWriter(const fs::path& file) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            write_file_atomically(file, [&](ByteSink& sink) {
                sink.write(std::string(1 << 17, 'x'));  // larger than a block: it reaches the file at once
                if (::write(ready[1], "!", 1) != 1) ::_exit(127);
                for (;;) ::pause();
            });
            ::_exit(0);
        }
        ::close(ready[1]);
        char byte = 0;
        if (pid_ > 0 && ::read(ready[0], &byte, 1) != 1) end_with(SIGKILL);
        ::close(ready[0]);
    }
    ~HalfwayWriter() {
        if (pid_ > 0) end_with(SIGKILL);
    }
    bool started() const { return pid_ > 0; }
    // Sends `signal` and answers the signal the child ended by, or -1.
    int end_with(int signal) {
        ::kill(pid_, signal);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
    }

private:
    pid_t pid_ = -1;
};

using Names = std::vector<std::string>;

// The scratch directories beside the file, besides those in `known`.
Names scratch_directories(const fs::path& directory, const Names& known) {
    Names found;
    for (const std::string& name : fixture::files_in(directory))
        if (name.starts_with(".kzr40-") && std::find(known.begin(), known.end(), name) == known.end()) found.push_back(name);
    return found;
}

// A write interrupted by a signal leaves the old file and nothing beside it. One killed outright
// leaves its scratch directory, which the next write into the directory removes; the scratch
// directory of a run still writing, and directories that only look like ours, stay.
TEST(Output, AnInterruptedWriteLeavesNothingAndAKilledOneIsClearedByTheNext) {
    fixture::ScratchDir dir;
    const fs::path out = dir.path() / "out.sql";
    std::ofstream(out) << "old";
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        HalfwayWriter child(out);
        ASSERT_TRUE(child.started());
        ASSERT_EQ(scratch_directories(dir.path(), {}).size(), 1u) << strsignal(signal);
        write_file_atomically(dir.path() / "beside.sql", "beside");  // a live run's directory is not a leftover
        ASSERT_EQ(scratch_directories(dir.path(), {}).size(), 1u) << strsignal(signal);
        EXPECT_EQ(child.end_with(signal), signal);
        EXPECT_EQ(fixture::files_in(dir.path()), (Names{"beside.sql", "out.sql"})) << strsignal(signal);
        EXPECT_EQ(fixture::read_file(out), "old");
    }

    // Not ours: no marker, a marker with another text, a link to one of ours, another user's.
    fs::create_directory(dir.path() / ".kzr40-nomark");
    fs::create_directory(dir.path() / ".kzr40-othert");
    std::ofstream(dir.path() / ".kzr40-othert" / ".kzr40-run") << "a file of the user's\n";
    HalfwayWriter killed(out);
    ASSERT_TRUE(killed.started());
    EXPECT_EQ(killed.end_with(SIGKILL), SIGKILL);
    Names decoys = {".kzr40-linked", ".kzr40-nomark", ".kzr40-others", ".kzr40-othert"};
    const Names left = scratch_directories(dir.path(), decoys);
    ASSERT_EQ(left.size(), 1u);
    fs::create_directory_symlink(left[0], dir.path() / ".kzr40-linked");
    if (::geteuid() == 0) {  // a leftover in every way but its owner: another user's run may be at work
        fs::create_directory(dir.path() / ".kzr40-others");
        fs::copy_file(dir.path() / left[0] / ".kzr40-run", dir.path() / ".kzr40-others" / ".kzr40-run");
        ASSERT_EQ(::chown((dir.path() / ".kzr40-others" / ".kzr40-run").c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chown((dir.path() / ".kzr40-others").c_str(), 65534, 65534), 0);
    } else {
        decoys.erase(decoys.begin() + 2);
    }
    EXPECT_EQ(fixture::files_in(dir.path() / left[0]), (Names{".kzr40-run", "out.sql"}));

    write_file_atomically(out, "new");
    EXPECT_EQ(fixture::read_file(out), "new");
    EXPECT_EQ(scratch_directories(dir.path(), {}), decoys);
    EXPECT_EQ(fixture::read_file(dir.path() / ".kzr40-othert" / ".kzr40-run"), "a file of the user's\n");
}

}  // namespace
