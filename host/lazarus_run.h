#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "diagram/diagram.h"

// `kzr40 generate --target lazarus`: the application for Free Pascal and the LCL on dBase tables,
// written into `scratch` (the run's staging directory); returns the names of the files written there.
// The faithful forms and main project are generated first into a scratch folder inside it and read
// back as the designs the LCL forms are made from. Raises std::runtime_error, naming the entity and
// the problem, for what the target cannot build, before any file of the target is written.
std::vector<std::string> generate_lazarus(const Diagram& diagram, const std::filesystem::path& scratch,
                                          const std::filesystem::path& output, const std::string& title);
