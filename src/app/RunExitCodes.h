// Exit codes of the desktop program's runs without a window (--print,
// --print-to, --screenshot), for scripts. The same numbers mean the same as
// in tavin-cli where both have them.
#pragma once

namespace run {

inline constexpr int kExitOk = 0;
inline constexpr int kExitPrintFailed = 1;  // no printer, no printer of that name, or it refused the page
inline constexpr int kExitUsage = 2;        // bad switches or arguments
inline constexpr int kExitFile = 3;         // the channel file cannot be opened, or the screenshot not written

}  // namespace run
