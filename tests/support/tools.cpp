#include "support/tools.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace testsupport {

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    const fs::path base = fs::temp_directory_path();
    for (;;) {
        auto candidate = base / ("contratto-test-" + std::to_string(::getpid()) + "-" +
                                 std::to_string(counter++) + "-" + std::to_string(rd() % 100000));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            path_ = candidate;
            return;
        }
        // Only a name already taken is worth another try: a folder that
        // cannot be written to stays so however often it is asked.
        if (ec && ec != std::errc::file_exists)
            throw fs::filesystem_error("cannot make a temporary folder in " + base.string(), candidate, ec);
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string shell_quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

CommandResult run_command(const std::string& command_line) {
    TempDir scratch;
    const auto out_file = scratch / "out";
    const auto err_file = scratch / "err";
    const std::string full = "(" + command_line + ") >" + shell_quote(out_file.string()) + " 2>" +
                             shell_quote(err_file.string()) + " </dev/null";
    CommandResult result;
    int status = std::system(full.c_str());
    result.exit_code = (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    result.out = read_file(out_file);
    result.err = read_file(err_file);
    return result;
}

bool have_tool(const std::string& program) {
    return run_command("command -v " + shell_quote(program)).exit_code == 0;
}

bool running_in_ci() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string(ci) == "true";
}

std::string read_file(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void write_file(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string data_record(const std::string& key, const std::string& value) {
    auto field = [](const std::string& text) {
        std::string f = text.substr(0, 255);
        f.resize(255, ' ');
        return f;
    };
    return field(key) + field(value);
}

void write_data_file(const fs::path& file,
                     const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::string bytes;
    for (const auto& [key, value] : pairs) bytes += data_record(key, value);
    write_file(file, bytes);
}

bool without_privileges(const std::function<void()>& check) {
    if (::geteuid() != 0) {
        check();
        return true;
    }
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        try {
            check();
        } catch (const std::exception& e) {
            ADD_FAILURE() << "unprivileged check threw: " << e.what();
        } catch (...) {
            ADD_FAILURE() << "unprivileged check threw";
        }
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        ADD_FAILURE() << "the unprivileged check did not end normally";
        return true;
    }
    if (WEXITSTATUS(status) == 2) return false;
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the unprivileged check failed (its messages are above)";
    return true;
}

}  // namespace testsupport
