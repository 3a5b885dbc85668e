#include "tests/dialects/scratch_server.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace dialect_tests {
namespace {

namespace fs = std::filesystem;

std::string read_whole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Owner {
    uid_t uid;
    gid_t gid;
};

// Forks and executes `argv` with the given standard streams, as `owner` when given; `death_signal`
// (when not 0) reaches the child when this process ends.
pid_t launch(const std::vector<std::string>& argv, const std::string& input, const fs::path& output,
             const fs::path& errors, std::optional<Owner> owner, int death_signal) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0) return pid;
    const int in = open(input.empty() ? "/dev/null" : input.c_str(), O_RDONLY);
    const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644);
    const int err = errors == output ? out : open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644);
    if (in < 0 || out < 0 || err < 0) _exit(126);
    dup2(in, 0), dup2(out, 1), dup2(err, 2);
    if (owner && (setgroups(0, nullptr) != 0 || setresgid(owner->gid, owner->gid, owner->gid) != 0 ||
                  setresuid(owner->uid, owner->uid, owner->uid) != 0))
        _exit(126);
    // Set after the change of user, which would clear it.
    if (death_signal && (prctl(PR_SET_PDEATHSIG, death_signal) != 0 || getppid() != parent)) _exit(126);
    execv(args[0], args.data());
    _exit(127);
}

int wait_for(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

CommandResult run(const std::vector<std::string>& argv, const std::string& input, std::optional<Owner> owner) {
    char pattern[] = "/tmp/kzr40-command-XXXXXX";
    const char* scratch = mkdtemp(pattern);
    CommandResult result;
    if (!scratch) return result;
    const fs::path out = fs::path(scratch) / "out", err = fs::path(scratch) / "err";
    if (owner) {
        if (chown(scratch, owner->uid, owner->gid) != 0) return result;
    }
    result.status = wait_for(launch(argv, input, out, err, owner, 0));
    result.output = read_whole(out);
    result.errors = read_whole(err);
    fs::remove_all(scratch);
    return result;
}

std::optional<Owner> unprivileged_owner() {
    if (geteuid() != 0) return std::nullopt;
    const passwd* nobody = getpwnam("nobody");
    if (!nobody) return Owner{65534, 65534};
    return Owner{nobody->pw_uid, nobody->pw_gid};
}

bool executable(const fs::path& file) { return access(file.c_str(), X_OK) == 0; }

// The first of the programs found on the PATH, or nothing.
std::optional<fs::path> on_path(const std::string& program) {
    for (const char* folder : {"/usr/local/bin", "/usr/bin", "/bin", "/usr/local/sbin", "/usr/sbin", "/sbin"})
        if (executable(fs::path(folder) / program)) return fs::path(folder) / program;
    return std::nullopt;
}

std::string quoted_name(const std::string& name, char quote) {
    std::string text(1, quote);
    for (char c : name) {
        if (c == quote) text += quote;
        text += c;
    }
    return text + quote;
}

}  // namespace

CommandResult run_command(const std::vector<std::string>& argv, const std::string& input) {
    return run(argv, input, std::nullopt);
}

std::vector<std::vector<std::string>> split_rows(const std::string& output, char separator) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string>& row = rows.emplace_back();
        for (std::size_t start = 0;;) {
            const std::size_t end = std::min(line.find(separator, start), line.size());
            row.push_back(line.substr(start, end - start));
            if (end == line.size()) break;
            start = end + 1;
        }
    }
    return rows;
}

std::string ScratchServer::start() {
    if (const auto what = missing()) return *what;
    // In memory where the system has it: a server writes and syncs its files at every statement of
    // a schema script, and on a disk that takes the most of the suite's time.
    const bool in_memory = access("/dev/shm", W_OK) == 0;
    char pattern[] = "/dev/shm/kzr40-server-XXXXXX";
    char disk_pattern[] = "/tmp/kzr40-server-XXXXXX";
    if (!mkdtemp(in_memory ? pattern : disk_pattern)) return "cannot make a scratch directory";
    directory_ = in_memory ? pattern : disk_pattern;
    // The janitor waits on a pipe whose writing end only this process holds (the programs it starts do
    // not inherit it): when this process ends, however it ends, the read returns and the directory goes.
    int pipe_ends[2];
    if (pipe2(pipe_ends, O_CLOEXEC) == 0) {
        janitor_ = fork();
        if (janitor_ == 0) {
            setsid();
            dup2(pipe_ends[0], 0);
            execl("/bin/sh", "sh", "-c", "read ignored; sleep 1; rm -rf \"$0\"", directory_.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(pipe_ends[0]);
        janitor_pipe_ = pipe_ends[1];
    }
    if (const auto owner = unprivileged_owner()) {
        owner_ = owner->uid;
        owner_group_ = owner->gid;
        if (chown(directory_.c_str(), owner->uid, owner->gid) != 0) return "cannot hand the scratch directory to nobody";
    }
    if (std::string problem = set_up(directory_); !problem.empty()) return problem;
    pid_ = spawn_as_owner(server_command(), directory_ / "server.log");
    for (int tries = 0; tries < 600; ++tries) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = 0;
            return "the server ended at once:\n" + read_whole(directory_ / "server.log");
        }
        if (ready()) return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "the server did not answer within 30 s:\n" + read_whole(directory_ / "server.log");
}

void ScratchServer::stop() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status = 0;
        bool ended = false;
        for (int tries = 0; tries < 200 && !ended; ++tries) {
            ended = waitpid(pid_, &status, WNOHANG) == pid_;
            if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (!ended) kill(pid_, SIGKILL), waitpid(pid_, &status, 0);
        pid_ = 0;
    }
    if (janitor_ > 0) {
        kill(janitor_, SIGKILL);
        waitpid(janitor_, nullptr, 0);
        close(janitor_pipe_);
        janitor_ = 0;
    }
    if (!directory_.empty()) {
        std::error_code ignored;
        fs::remove_all(directory_, ignored);
        directory_.clear();
    }
}

std::string ScratchServer::load_all(const std::vector<std::pair<std::string, std::string>>& scripts, const fs::path& file) {
    std::string text;
    std::vector<std::size_t> first_lines;  // of each script in the file
    std::size_t line = 1;
    for (const auto& [name, script] : scripts) {
        const std::string part = enter(name) + script + "\n";
        first_lines.push_back(line);
        line += static_cast<std::size_t>(std::count(part.begin(), part.end(), '\n'));
        text += part;
    }
    std::ofstream(file, std::ios::binary) << text;
    const CommandResult result = run_file(file.string());
    if (result.status == 0) return {};
    const std::size_t at = error_line(result.errors);
    std::string place = "a script";
    for (std::size_t i = 0; i < first_lines.size(); ++i)
        if (at >= first_lines[i]) place = "the script for " + scripts[i].first + " (line " + std::to_string(at - first_lines[i] + 1) + ")";
    return place + ": " + result.errors;
}

pid_t ScratchServer::spawn_as_owner(const std::vector<std::string>& argv, const fs::path& log) {
    std::optional<Owner> owner;
    if (owner_) owner = Owner{*owner_, owner_group_};
    return launch(argv, {}, log, log, owner, SIGKILL);
}

CommandResult ScratchServer::run_as_owner(const std::vector<std::string>& argv) {
    std::optional<Owner> owner;
    if (owner_) owner = Owner{*owner_, owner_group_};
    return run(argv, {}, owner);
}

// PostgreSQL.

std::optional<std::string> ScratchPostgresql::missing() const {
    std::error_code ignored;
    for (const auto& version : fs::directory_iterator("/usr/lib/postgresql", ignored)) {
        const fs::path bin = version.path() / "bin";
        if (executable(bin / "initdb") && executable(bin / "postgres") && executable(bin / "psql")) {
            bin_ = bin;  // found once, used by every command
            return std::nullopt;
        }
    }
    return "PostgreSQL is not installed (no /usr/lib/postgresql/*/bin/initdb): install the Debian package postgresql "
           "(scripts/setup.sh does)";
}

std::string ScratchPostgresql::set_up(const fs::path& directory) {
    const CommandResult init = run_as_owner({(bin_ / "initdb").string(), "-D", (directory / "data").string(), "-U", "postgres",
                                             "--auth=trust", "-E", "UTF8", "--locale=C", "--no-sync", "--no-instructions"});
    return init.status == 0 ? std::string() : "initdb failed:\n" + init.output + init.errors;
}

std::vector<std::string> ScratchPostgresql::server_command() const {
    return {(bin_ / "postgres").string(), "-D", (directory_ / "data").string(), "-k", directory_.string(),
            "-c", "listen_addresses=", "-c", "fsync=off", "-c", "full_page_writes=off", "-c", "synchronous_commit=off",
            "-c", "max_connections=20", "-c", "shared_buffers=16MB",
            // In the data directory, so that a killed server leaves no segment behind.
            "-c", "dynamic_shared_memory_type=mmap"};
}

bool ScratchPostgresql::ready() {
    return run_command({(bin_ / "psql").string(), "-h", directory_.string(), "-U", "postgres", "-X", "-q", "-d", "postgres",
                        "-c", "SELECT 1"})
               .status == 0;
}

CommandResult ScratchPostgresql::psql(const std::string& schema, const std::string& script) {
    std::vector<std::string> argv = {(bin_ / "psql").string(), "-h", directory_.string(), "-U", "postgres", "-X", "-q",
                                     "-d", "postgres", "-v", "ON_ERROR_STOP=1"};
    if (!schema.empty()) {
        const std::string name = quoted_name(schema, '"');
        argv.insert(argv.end(), {"-c", "CREATE SCHEMA IF NOT EXISTS " + name + "; SET search_path TO " + name});
    }
    argv.insert(argv.end(), {"-f", script});
    return run_command(argv);
}

std::string ScratchPostgresql::load(const std::string& name, const std::string& script) {
    const CommandResult result = psql(name, script);
    return result.status == 0 ? std::string() : "psql exited with " + std::to_string(result.status) + ": " + result.errors;
}

std::vector<std::vector<std::string>> ScratchPostgresql::query(const std::string& name, const std::string& sql,
                                                               std::string* errors) {
    std::vector<std::string> argv = {(bin_ / "psql").string(), "-h", directory_.string(), "-U", "postgres", "-X", "-q",
                                     "-A", "-t", "-F", "\x1f", "-d", "postgres", "-v", "ON_ERROR_STOP=1"};
    if (!name.empty()) argv.insert(argv.end(), {"-c", "SET search_path TO " + quoted_name(name, '"')});
    argv.insert(argv.end(), {"-c", sql});
    const CommandResult result = run_command(argv);
    if (errors) *errors = result.status == 0 ? std::string() : result.errors;
    return split_rows(result.output, '\x1f');
}

std::string ScratchPostgresql::enter(const std::string& name) const {
    const std::string quoted = quoted_name(name, '"');
    return "CREATE SCHEMA IF NOT EXISTS " + quoted + "; SET search_path TO " + quoted + ";\n";
}

CommandResult ScratchPostgresql::run_file(const std::string& file) { return psql({}, file); }

std::size_t ScratchPostgresql::error_line(const std::string& errors) const {
    // psql:FILE:LINE: ERROR: ...
    const std::size_t error = errors.find(": ERROR:");
    if (error == std::string::npos) return 0;
    const std::size_t colon = errors.rfind(':', error - 1);
    return colon == std::string::npos ? 0 : std::strtoul(errors.c_str() + colon + 1, nullptr, 10);
}

// MariaDB.

std::string ScratchMariadb::enter(const std::string& name) const {
    const std::string quoted = quoted_name(name, '`');
    return "CREATE DATABASE IF NOT EXISTS " + quoted + "; USE " + quoted + ";\n";
}

CommandResult ScratchMariadb::run_file(const std::string& file) { return client({}, {}, file); }

std::size_t ScratchMariadb::error_line(const std::string& errors) const {
    // ERROR 1064 (42000) at line LINE: ...
    const std::size_t at = errors.find(" at line ");
    return at == std::string::npos ? 0 : std::strtoul(errors.c_str() + at + 9, nullptr, 10);
}

std::optional<std::string> ScratchMariadb::missing() const {
    for (const char* program : {"mariadb-install-db", "mariadbd", "mariadb"})
        if (!on_path(program))
            return std::string("MariaDB is not installed (no ") + program +
                   "): install the Debian package mariadb-server (scripts/setup.sh does)";
    return std::nullopt;
}

std::string ScratchMariadb::set_up(const fs::path& directory) {
    const CommandResult init = run_as_owner({on_path("mariadb-install-db")->string(), "--no-defaults",
                                             "--datadir=" + (directory / "data").string(),
                                             "--auth-root-authentication-method=normal", "--skip-test-db",
                                             "--skip-name-resolve"});
    return init.status == 0 ? std::string() : "mariadb-install-db failed:\n" + init.output + init.errors;
}

std::vector<std::string> ScratchMariadb::server_command() const {
    return {on_path("mariadbd")->string(), "--no-defaults", "--datadir=" + (directory_ / "data").string(),
            "--socket=" + (directory_ / "socket").string(), "--skip-networking",
            "--pid-file=" + (directory_ / "server.pid").string(), "--innodb-buffer-pool-size=32M",
            "--innodb-flush-log-at-trx-commit=0", "--innodb-doublewrite=0", "--innodb-flush-method=nosync",
            "--skip-name-resolve", "--character-set-server=utf8mb4"};
}

CommandResult ScratchMariadb::client(const std::string& database, const std::vector<std::string>& arguments,
                                     const std::string& input) {
    std::vector<std::string> argv = {on_path("mariadb")->string(), "--no-defaults", "--socket=" + (directory_ / "socket").string(),
                                     "-u", "root", "--default-character-set=utf8mb4"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    if (!database.empty()) argv.push_back(database);
    return run_command(argv, input);
}

bool ScratchMariadb::ready() { return client({}, {"-e", "SELECT 1"}).status == 0; }

std::string ScratchMariadb::load(const std::string& name, const std::string& script) {
    const CommandResult created = client({}, {"-e", "CREATE DATABASE IF NOT EXISTS " + quoted_name(name, '`')});
    if (created.status != 0) return created.errors;
    const CommandResult result = client(name, {}, script);
    return result.status == 0 ? std::string() : "mariadb exited with " + std::to_string(result.status) + ": " + result.errors;
}

std::vector<std::vector<std::string>> ScratchMariadb::query(const std::string& name, const std::string& sql, std::string* errors) {
    const CommandResult result = client(name, {"-N", "-B", "-r", "-e", sql});
    if (errors) *errors = result.status == 0 ? std::string() : result.errors;
    return split_rows(result.output, '\t');
}

}  // namespace dialect_tests
