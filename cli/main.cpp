#include <iostream>

#include "cli/companion.h"

#ifdef __EMSCRIPTEN__
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>

namespace {

// Standard input as the native build reads it: a read that fails (a folder for an input, a
// closed standard input) is an error with its reason, where libc++'s own buffer would make it the
// input's end and the batch a success.
class StandardInput : public std::streambuf {
  protected:
    int_type underflow() override {
        ssize_t n;
        do {
            n = ::read(0, buffer_.data(), buffer_.size());
        } while (n < 0 && errno == EINTR);
        if (n < 0)
            throw std::ios_base::failure("read", std::error_code(errno, std::generic_category()));
        if (n == 0) return traits_type::eof();
        setg(buffer_.data(), buffer_.data(), buffer_.data() + n);
        return traits_type::to_int_type(buffer_[0]);
    }

  private:
    std::array<char, 1 << 16> buffer_;
};

}  // namespace
#endif

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr);  // the batch flushes its answers itself, when its input waits
#ifdef __EMSCRIPTEN__
    StandardInput input;
    std::istream in(&input);
    return companion::Run(argc, argv, in, std::cout, std::cerr);
#else
    return companion::Run(argc, argv, std::cin, std::cout, std::cerr);
#endif
}
