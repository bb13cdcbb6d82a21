// The least a programming client can do: send each command of a full read or
// write and wait for exactly its answer, nothing else (no retries, no checks
// beyond the byte count, no event loop). The line-rate benchmark runs it
// against the same paced virtual radio as the command-line program, so the
// program's time can be given as a ratio to it.
//
//   bench_fastest_client DEVICE read|write [--echo] [--image FILE]
// prints "transfer time: S s" on standard output; exit status 1 on an error.
// A write sends the first 9280 bytes of FILE (the virtual radio's memory file,
// so the radio keeps what it held); without one, blocks of 0xFF.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/link/packets.h"
#include "core/radio/radio_image.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class Line {
  public:
    explicit Line(const std::string& device)
    {
        fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY);
        if (fd_ < 0) return;
        termios t{};
        if (::tcgetattr(fd_, &t) == 0) {
            ::cfmakeraw(&t);
            ::cfsetspeed(&t, B9600);
            ::tcsetattr(fd_, TCSANOW, &t);
        }
        ::tcflush(fd_, TCIOFLUSH);
    }
    ~Line()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    bool ok() const { return fd_ >= 0; }

    // Sends `command` and returns exactly `answer` bytes (empty on a 2 s silence).
    Bytes exchange(const Bytes& command, std::size_t answer)
    {
        std::size_t sent = 0;
        while (sent < command.size()) {
            const ssize_t n = ::write(fd_, command.data() + sent, command.size() - sent);
            if (n <= 0) return {};
            sent += static_cast<std::size_t>(n);
        }
        Bytes in(answer);
        std::size_t got = 0;
        while (got < answer) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 2000) <= 0) return {};
            const ssize_t n = ::read(fd_, in.data() + got, answer - got);
            if (n <= 0) return {};
            got += static_cast<std::size_t>(n);
        }
        return in;
    }

  private:
    int fd_ = -1;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: bench_fastest_client DEVICE read|write [--echo] [--image FILE]\n");
        return 2;
    }
    const std::string device = argv[1];
    const bool write = std::string(argv[2]) == "write";
    bool echo = false;
    std::vector<std::uint8_t> image(zt::kImageSize, 0xFF);
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--echo") {
            echo = true;
        } else if (a == "--image" && i + 1 < argc) {
            std::FILE* f = std::fopen(argv[++i], "rb");
            if (!f || std::fread(image.data(), 1, image.size(), f) != image.size()) {
                std::fprintf(stderr, "bench_fastest_client: cannot read %s\n", argv[i]);
                if (f) std::fclose(f);
                return 1;
            }
            std::fclose(f);
        }
    }
    Line line(device);
    if (!line.ok()) {
        std::perror("bench_fastest_client: open");
        return 1;
    }
    auto e = [echo](zt::Command c) { return static_cast<std::size_t>(zt::echoLength(c, !echo)); };
    using zt::Command;

    const auto start = std::chrono::steady_clock::now();
    bool good = !line.exchange(zt::handshakeCommand(), e(Command::Handshake) + 3).empty();
    good = good && !line.exchange(zt::identifyCommand(), e(Command::Identify) + 16).empty();
    good = good && !line.exchange(zt::readBlockCommand(zt::kPasswordBlockAddress),
                                  e(Command::ReadBlock) + 22)
                        .empty();
    for (int a = 0; good && a < zt::kImageSize; a += zt::kBlockSize) {
        if (write) {
            zt::Block data;
            std::copy_n(image.begin() + a, zt::kBlockSize, data.begin());
            good =
                !line.exchange(zt::writeBlockPacket(a, data), e(Command::WriteBlock) + 1).empty();
        } else {
            good = !line.exchange(zt::readBlockCommand(a), e(Command::ReadBlock) + 22).empty();
        }
    }
    good = good && !line.exchange(zt::endCommand(), e(Command::End) + 1).empty();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!good) {
        std::fprintf(stderr, "bench_fastest_client: the radio did not answer\n");
        return 1;
    }
    std::printf("transfer time: %.3f s\n", seconds);
    return 0;
}
