// The result of a file operation: success, or a message that says which file,
// what failed and why, in the words of the operating system.
#pragma once

#include <string>
#include <utility>

namespace tavin {

struct FileResult {
    bool ok = true;
    std::string error;   // which file, what failed, the system's reason
    int systemError = 0; // the errno value behind the failure, when there is one
    explicit operator bool() const { return ok; }
    static FileResult success() { return {}; }
    static FileResult failure(std::string message, int systemError = 0)
    {
        return {false, std::move(message), systemError};
    }
};

}  // namespace tavin
