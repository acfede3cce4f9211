// Real files for the Wine tests: a fresh folder per test, whole-file reads and
// writes, and listings, all through the ANSI file API the program uses.
#pragma once

#include "tests/support/sfnt_builder.h"

#include <string>
#include <vector>

class TestFolder {
  public:
    TestFolder(); // a new empty folder under the Windows temp folder
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    ~TestFolder(); // removes the folder and what is in it

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }
    std::vector<std::string> names() const; // file names, sorted

  private:
    std::string path_;
};

bool writeBytes(const std::string& path, const Bytes& bytes);
Bytes readBytes(const std::string& path); // empty when it cannot be read
// The names of the files and folders in any folder, sorted.
std::vector<std::string> fileNamesIn(const std::string& folder);

// Fonts of the Debian packages the tests use as a real corpus, as Windows paths.
std::vector<std::string> corpusFonts();
