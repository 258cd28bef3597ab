// The public member a failure happens under. A failure is reported under the
// member the program called (BeginPage, EndDoc...), which the user can
// relate to what was being done, never under the internal routine that
// failed (a number's formatting, a line's writing, a colour's parsing); the
// outermost member of a nested call is the one named.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pdf {

// Every public member that can fail, directly or in a routine it calls,
// opens one of these first.
class PublicCall {
public:
    explicit PublicCall(const char* member) : previous_(current_) {
        if (current_ == nullptr) current_ = member;
    }
    ~PublicCall() { current_ = previous_; }
    PublicCall(const PublicCall&) = delete;
    PublicCall& operator=(const PublicCall&) = delete;

    // The public member in progress, or `internal` outside any.
    static std::string_view current_or(std::string_view internal) {
        return current_ != nullptr ? std::string_view(current_) : internal;
    }

private:
    static inline thread_local const char* current_ = nullptr;
    const char* previous_;
};

// Throws PdfError `number` with the source "PdfWriter." + the public member
// in progress (`internal` outside any) and `description`.
[[noreturn]] void raise_error(std::int32_t number, std::string_view internal, std::string description);

}  // namespace pdf
