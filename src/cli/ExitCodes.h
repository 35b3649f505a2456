// Exit codes of tavin-cli; the README lists them.
#pragma once

namespace tavin::cli {

enum ExitCode : int {
    kExitOk = 0,
    kExitUsage = 2,           // bad or missing arguments
    kExitFile = 3,            // a channel file cannot be read or written
    kExitPortOpen = 4,        // the serial port cannot be opened
    kExitNoAnswer = 5,        // the radio does not answer the handshake
    kExitTransfer = 6,        // a read or write failed part way
    kExitVerifyMismatch = 7,  // the radio differs from the file
    kExitCancelled = 8,       // interrupted (Ctrl+C)
    kExitUnverified = 9,      // written completely, but reading it back for the check failed
    kExitRefusedData = 10,    // imported data broke the editor's rules; nothing was written
};

}  // namespace tavin::cli
