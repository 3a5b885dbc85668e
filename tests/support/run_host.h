#pragma once

#include <string>
#include <vector>

// Runs the built kzr40 program with `arguments` and captures what it printed.
struct HostRun {
    int status = -1;
    std::string out;
    std::string err;
};
HostRun run_host(const std::vector<std::string>& arguments);
// The same with `input` on its standard input (a file).
HostRun run_host(const std::vector<std::string>& arguments, const std::string& input);
// Runs `program` with `arguments` the same way.
HostRun run_program(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string* input = nullptr);
