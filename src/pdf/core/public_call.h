// The public member a write happens under. A failure to write is reported
// under the member the program called (BeginPage, EndDoc...), which the user
// can relate to what was being done, never under the internal routine that
// wrote; the outermost member of a nested call is the one named.
#pragma once

namespace pdf {

class PublicCall {
public:
    explicit PublicCall(const char* member) : previous_(current_) {
        if (current_ == nullptr) current_ = member;
    }
    ~PublicCall() { current_ = previous_; }
    PublicCall(const PublicCall&) = delete;
    PublicCall& operator=(const PublicCall&) = delete;

    // The public member in progress, or `internal` outside any.
    static const char* current_or(const char* internal) { return current_ != nullptr ? current_ : internal; }

private:
    static inline thread_local const char* current_ = nullptr;
    const char* previous_;
};

}  // namespace pdf
