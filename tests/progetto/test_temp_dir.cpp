// The tests' temporary folders.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/tools.h"

namespace fs = std::filesystem;

// A temporary folder that cannot be written to fails at once and says which
// it is; trying other names there would go on for ever (the alarm ends such
// a loop as a failure).
TEST(TempDir, AFolderThatCannotBeWrittenIsNamedNotRetried) {
    testsupport::TempDir dir;
    const fs::path locked = dir / "sola_lettura";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    const bool ran = testsupport::without_privileges([&] {
        const char* before = std::getenv("TMPDIR");
        const std::string saved = before != nullptr ? before : "";
        ::setenv("TMPDIR", locked.c_str(), 1);
        ::alarm(10);
        try {
            testsupport::TempDir never;
            ADD_FAILURE() << "made " << never.path();
        } catch (const fs::filesystem_error& e) {
            EXPECT_NE(std::string(e.what()).find(locked.string()), std::string::npos) << e.what();
        }
        ::alarm(0);
        if (before != nullptr)
            ::setenv("TMPDIR", saved.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    });
    if (!ran) GTEST_SKIP() << "cannot drop root rights here";
}
