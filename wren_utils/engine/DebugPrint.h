#pragma once

#include <functional>
#include <string>

// Numbered debug print channels of the library. Nothing here ever ends the host process.
//
// Environment (read once, on first use, or again by PRINT_reload):
//   PRINT_CHANNEL  which channels print: "all", or channel numbers 0-31 separated by commas.
//                  Unset: only channel 2, the error channel.
//   PRINT_DEVICE   where they print: "console" (standard error, the default), "debugger"
//                  (the debugger's output on Windows, standard error elsewhere), "none", or
//                  "file:PATH" (appended to PATH).
namespace wren {

constexpr int kPrintChannelDebug = 1; // progress and lookup messages of the asset code
constexpr int kPrintChannelError = 2; // the error routine

// printf-style; the text goes out as formatted (messages carry their own line ends).
void PRINT_channel(int channel, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// The error routine: writes "ERROR: <message>" to the error channel and returns, so the failing
// call can hand its failure back to its caller.
void PRINT_error(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

bool PRINT_enabled(int channel);

// Re-reads PRINT_CHANNEL and PRINT_DEVICE.
void PRINT_reload();

// Sees every formatted line of every channel, enabled or not (for hosts and tests that collect
// the library's messages). An empty function removes the listener.
using PrintListener = std::function<void(int channel, const std::string& text)>;
void PRINT_setlistener(PrintListener listener);

} // namespace wren
