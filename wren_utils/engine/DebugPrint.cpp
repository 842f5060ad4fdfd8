#include "wren_utils/engine/DebugPrint.h"

#include "wren_utils/engine/FilePaths.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace wren {
namespace {

enum class PrintDevice { Console, Debugger, File, None };

struct PrintState {
    std::mutex lock;
    bool loaded = false;
    unsigned mask = 1u << kPrintChannelError;
    PrintDevice device = PrintDevice::Console;
    std::string filePath;
    PrintListener listener;
};

PrintState& State() {
    static PrintState state;
    return state;
}

unsigned ParseChannels(const char* text) {
    if (text == nullptr)
        return 1u << kPrintChannelError;
    const std::string_view all(text);
    if (all == "all")
        return ~0u;
    unsigned mask = 0;
    int value = -1;
    for (const char c : all) {
        if (c >= '0' && c <= '9') {
            value = (value < 0 ? 0 : value) * 10 + (c - '0');
            if (value > 31)
                value = 32; // out of range: ignored below
        } else {
            if (value >= 0 && value < 32)
                mask |= 1u << value;
            value = -1;
        }
    }
    if (value >= 0 && value < 32)
        mask |= 1u << value;
    return mask;
}

void LoadLocked(PrintState& state) {
    state.mask = ParseChannels(std::getenv("PRINT_CHANNEL"));
    state.device = PrintDevice::Console;
    state.filePath.clear();
    if (const char* device = std::getenv("PRINT_DEVICE")) {
        const std::string_view text(device);
        if (text == "none")
            state.device = PrintDevice::None;
        else if (text == "debugger")
            state.device = PrintDevice::Debugger;
        else if (text.rfind("file:", 0) == 0 && text.size() > 5) {
            state.device = PrintDevice::File;
            state.filePath = std::string(text.substr(5));
        }
    }
    state.loaded = true;
}

void Emit(PrintState& state, const std::string& text) {
    switch (state.device) {
    case PrintDevice::None:
        return;
    case PrintDevice::File:
        if (std::FILE* file = FILE_fopen(state.filePath, "ab")) {
            std::fwrite(text.data(), 1, text.size(), file);
            std::fclose(file);
            return;
        }
        break; // an unwritable file falls back to the console
    case PrintDevice::Debugger:
#if defined(_WIN32)
        OutputDebugStringA(text.c_str());
        return;
#else
        break;
#endif
    case PrintDevice::Console:
        break;
    }
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

std::string Format(const char* format, std::va_list args) {
    std::va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0)
        return {};
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    return std::string(text.data(), static_cast<std::size_t>(length));
}

void Write(int channel, const std::string& text) {
    PrintState& state = State();
    PrintListener listener;
    {
        std::lock_guard guard(state.lock);
        if (!state.loaded)
            LoadLocked(state);
        listener = state.listener;
        if (channel >= 0 && channel < 32 && (state.mask & (1u << channel)) != 0)
            Emit(state, text);
    }
    if (listener)
        listener(channel, text);
}

} // namespace

void PRINT_channel(int channel, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    const std::string text = Format(format, args);
    va_end(args);
    Write(channel, text);
}

void PRINT_error(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    const std::string message = Format(format, args);
    va_end(args);
    Write(kPrintChannelError, "ERROR: " + message);
}

bool PRINT_enabled(int channel) {
    PrintState& state = State();
    std::lock_guard guard(state.lock);
    if (!state.loaded)
        LoadLocked(state);
    return channel >= 0 && channel < 32 && (state.mask & (1u << channel)) != 0;
}

void PRINT_reload() {
    PrintState& state = State();
    std::lock_guard guard(state.lock);
    LoadLocked(state);
}

void PRINT_setlistener(PrintListener listener) {
    PrintState& state = State();
    std::lock_guard guard(state.lock);
    state.listener = std::move(listener);
}

} // namespace wren
