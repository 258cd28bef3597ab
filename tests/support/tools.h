// Helpers for tests that check our output with independent programs
// (qpdf, poppler's pdfinfo/pdftotext/pdffonts/pdfimages/pdftoppm, mutool).
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes out of scope. When the folder cannot be
// made there (other than for a name already taken, which is tried again
// under another name), std::filesystem::filesystem_error names it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

struct CommandResult {
    int exit_code = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

// Runs a shell command line and collects both output streams.
CommandResult run_command(const std::string& command_line);

// Quotes one argument for the shell.
std::string shell_quote(const std::string& text);

// True when the program is on the PATH.
bool have_tool(const std::string& program);

// True when the tests run under CI (environment CI=true).
bool running_in_ci();

std::string read_file(const std::filesystem::path& file);
void write_file(const std::filesystem::path& file, const std::string& bytes);

// One record of the data file: key and value, each blank-padded (or cut)
// to 255 bytes, 510 bytes in all.
std::string data_record(const std::string& key, const std::string& value);

// Writes a data file made of the given key/value pairs, in order.
void write_data_file(const std::filesystem::path& file,
                     const std::vector<std::pair<std::string, std::string>>& pairs);

// Runs `check` as a user whose permissions bind: as it is when we are not
// root; as root in a child that has given up its rights (CI runs as root),
// reporting through its exit status. False when rights cannot be dropped.
bool without_privileges(const std::function<void()>& check);

}  // namespace testsupport

// Skips the test when an external program is missing, except under CI,
// where a missing program is a failure.
#define REQUIRE_TOOL(program)                                                          \
    do {                                                                               \
        if (!::testsupport::have_tool(program)) {                                      \
            if (::testsupport::running_in_ci()) FAIL() << "missing tool: " << program; \
            GTEST_SKIP() << "missing tool: " << program;                               \
        }                                                                              \
    } while (0)
