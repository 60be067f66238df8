#include "engine/fatal_error.h"

#include <cstdio>
#include <cstdlib>

namespace zorva {
namespace {

void PrintToStderr(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

MessageHandler& FatalHandler() {
    static MessageHandler handler;
    return handler;
}

MessageHandler& WarningHandler() {
    static MessageHandler handler;
    return handler;
}

}  // namespace

void FatalError(const std::string& text) {
    if (FatalHandler())
        FatalHandler()(text);
    else
        PrintToStderr(text);
    std::exit(kFatalExitCode);
}

void ShowWarning(const std::string& text) {
    if (WarningHandler())
        WarningHandler()(text);
    else
        PrintToStderr(text);
}

void SetFatalErrorHandler(MessageHandler handler) {
    FatalHandler() = std::move(handler);
}
void SetWarningHandler(MessageHandler handler) {
    WarningHandler() = std::move(handler);
}

}  // namespace zorva
