#pragma once
// Where an HTML pass writes: a buffer of fixed room that is, when the engine runs, the
// pass's own input. A pass writes each byte at or before the position it has read up to
// (no pass lengthens any part of a text), and copies with memmove, so writing over the
// input as it goes never changes a byte still to be read. A pass that looks back into its
// input must look no further than what it has not yet written over: below size() lies
// its output.
#include <cstddef>
#include <cstring>
#include <new>
#include <string_view>

namespace trimlet::engine {

class PassOutput {
  public:
    PassOutput(char* data, size_t room) : data_(data), room_(room) {}

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::string_view View() const { return {data_, size_}; }
    operator std::string_view() const { return View(); }

    // `p` may lie in the buffer, ahead of or behind the end of the output.
    void append(const char* p, size_t n) {
        if (n > room_ - size_) throw std::bad_alloc();  // a pass lengthened its text
        // Until a pass first deletes something, its output is its input where it lies.
        if (p != data_ + size_) std::memmove(data_ + size_, p, n);
        size_ += n;
    }
    void append(std::string_view s) { append(s.data(), s.size()); }
    PassOutput& operator+=(std::string_view s) {
        append(s);
        return *this;
    }
    PassOutput& operator+=(char c) {
        append(&c, 1);
        return *this;
    }

  private:
    char* data_;
    size_t room_;
    size_t size_ = 0;
};

}  // namespace trimlet::engine
