// Where -o puts the bytes: files replaced whole, links written through, devices and FIFOs written into.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>

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

}  // namespace
