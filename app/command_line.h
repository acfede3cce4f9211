// The process's command line split into wide arguments, released when it goes.
#pragma once

class CommandLine {
  public:
    CommandLine();
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;
    ~CommandLine();

    int count() const { return count_; }
    const wchar_t* const* arguments() const { return arguments_; }

  private:
    wchar_t** arguments_ = nullptr;
    int count_ = 0;
};
