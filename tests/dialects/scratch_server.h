#pragma once

// Database servers of the tests' own: each started in a scratch directory, on a Unix socket there and
// no TCP port, as an unprivileged user when the tests run as root, and stopped when the suite ends. A
// server also stops when the test process dies (its parent-death signal), so that a crashed or
// aborted run leaves none behind, and a janitor process removes the scratch directory then.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace dialect_tests {

// A finished command: its exit status, standard output and standard error.
struct CommandResult {
    int status = -1;
    std::string output, errors;
};
// Runs `argv` (argv[0] a path) with standard input from `input` (a file, or /dev/null when empty).
CommandResult run_command(const std::vector<std::string>& argv, const std::string& input = {});

// Rows of a query's output: lines, each split at `separator`.
std::vector<std::vector<std::string>> split_rows(const std::string& output, char separator);

class ScratchServer {
public:
    ScratchServer() = default;
    ScratchServer(const ScratchServer&) = delete;
    ScratchServer& operator=(const ScratchServer&) = delete;
    virtual ~ScratchServer() { stop(); }

    // Why the server cannot run here (what to install), or nothing.
    virtual std::optional<std::string> missing() const = 0;
    // Sets up and starts the server; returns what went wrong, or the empty text.
    std::string start();
    void stop();

    // Creates database (or schema) `name` and loads `script` (a file) into it; the client's errors, or
    // the empty text when it loaded.
    virtual std::string load(const std::string& name, const std::string& script) = 0;
    // Loads many scripts in one client run, each into a database (or schema) of its own: far quicker
    // than a client per script. The errors name the script the first failing statement is in.
    std::string load_all(const std::vector<std::pair<std::string, std::string>>& scripts, const std::filesystem::path& file);
    // Runs `sql` in database `name` (empty: the server's own); rows of columns, or the errors.
    virtual std::vector<std::vector<std::string>> query(const std::string& name, const std::string& sql,
                                                        std::string* errors = nullptr) = 0;

protected:
    // The statements that make database `name` and move into it.
    virtual std::string enter(const std::string& name) const = 0;
    // Runs the client on a file of statements, stopping at the first error.
    virtual CommandResult run_file(const std::string& file) = 0;
    // The line of the file that the client's error names, or 0.
    virtual std::size_t error_line(const std::string& errors) const = 0;
    virtual std::string set_up(const std::filesystem::path& directory) = 0;  // initialises the data directory
    virtual std::vector<std::string> server_command() const = 0;
    virtual bool ready() = 0;

    // Starts a process as the server's user; it gets SIGKILL when this process dies.
    pid_t spawn_as_owner(const std::vector<std::string>& argv, const std::filesystem::path& log);
    CommandResult run_as_owner(const std::vector<std::string>& argv);

    std::filesystem::path directory_;
    pid_t pid_ = 0;
    pid_t janitor_ = 0;  // removes the directory should this process end without stop()
    int janitor_pipe_ = -1;
    std::optional<uid_t> owner_;  // the user the server runs as, when not the tests' own
    gid_t owner_group_ = 0;
};

// PostgreSQL from /usr/lib/postgresql/*/bin: initdb, then postgres on a socket in the directory.
class ScratchPostgresql final : public ScratchServer {
public:
    std::optional<std::string> missing() const override;
    std::string load(const std::string& name, const std::string& script) override;
    std::vector<std::vector<std::string>> query(const std::string& name, const std::string& sql,
                                                std::string* errors = nullptr) override;
    // psql with ON_ERROR_STOP in schema `name` of the one database, reading `script`.
    CommandResult psql(const std::string& schema, const std::string& script);

private:
    std::string enter(const std::string& name) const override;
    CommandResult run_file(const std::string& file) override;
    std::size_t error_line(const std::string& errors) const override;
    std::string set_up(const std::filesystem::path& directory) override;
    std::vector<std::string> server_command() const override;
    bool ready() override;
    mutable std::filesystem::path bin_;  // the version found by missing()
};

// MariaDB: mariadb-install-db, then mariadbd --skip-networking on a socket in the directory.
class ScratchMariadb final : public ScratchServer {
public:
    std::optional<std::string> missing() const override;
    std::string load(const std::string& name, const std::string& script) override;
    std::vector<std::vector<std::string>> query(const std::string& name, const std::string& sql,
                                                std::string* errors = nullptr) override;
    CommandResult client(const std::string& database, const std::vector<std::string>& arguments, const std::string& input = {});

private:
    std::string enter(const std::string& name) const override;
    CommandResult run_file(const std::string& file) override;
    std::size_t error_line(const std::string& errors) const override;
    std::string set_up(const std::filesystem::path& directory) override;
    std::vector<std::string> server_command() const override;
    bool ready() override;
};

}  // namespace dialect_tests
