// tavin-sim's command line.
#pragma once

#include "VirtualRadio.h"

#include <filesystem>
#include <optional>
#include <string>

#include <QStringList>

namespace tavin::sim {

struct SimOptions {
    RadioSettings radio;
    std::optional<std::filesystem::path> linkPath;
    std::optional<std::filesystem::path> memoryFile;
    std::optional<std::filesystem::path> logPath;
};

enum class ParseOutcome { Run, Exit, UsageError };

// Parses arguments (with the program name first). On Exit, message holds the
// help or version text for stdout; on UsageError, the reason for stderr.
ParseOutcome parseOptions(const QStringList &arguments, SimOptions &options, std::string &message);

}  // namespace tavin::sim
