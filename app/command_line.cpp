#include "app/command_line.h"

#include <windows.h>

#include <shellapi.h>

CommandLine::CommandLine() {
    arguments_ = CommandLineToArgvW(GetCommandLineW(), &count_);
    if (arguments_ == nullptr)
        count_ = 0;
}

CommandLine::~CommandLine() {
    if (arguments_ != nullptr)
        LocalFree(LocalHandle(arguments_));
}
