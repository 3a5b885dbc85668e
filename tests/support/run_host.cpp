#include "tests/support/run_host.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "tests/support/read_file.h"

HostRun run_host(const std::vector<std::string>& arguments) { return run_program(KZR40_HOST_PATH, arguments); }

HostRun run_host(const std::vector<std::string>& arguments, const std::string& input) {
    return run_program(KZR40_HOST_PATH, arguments, &input);
}

HostRun run_program(const std::string& program, const std::vector<std::string>& arguments, const std::string* input) {
    const auto scratch = std::filesystem::temp_directory_path() / ("kzr40-run-" + std::to_string(getpid()));
    std::filesystem::create_directories(scratch);
    const auto out_path = scratch / "out", err_path = scratch / "err", in_path = scratch / "in";
    if (input) std::ofstream(in_path, std::ios::binary) << *input;

    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        if (!std::freopen(out_path.c_str(), "wb", stdout) || !std::freopen(err_path.c_str(), "wb", stderr)) _exit(127);
        if (input && !std::freopen(in_path.c_str(), "rb", stdin)) _exit(127);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int wait_status = 0;
    waitpid(child, &wait_status, 0);
    HostRun run;
    run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
    run.out = test_support::read_file(out_path);
    run.err = test_support::read_file(err_path);
    std::filesystem::remove_all(scratch);
    return run;
}
