#include "platform/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zt {

PseudoTerminal::~PseudoTerminal()
{
    close();
}

bool PseudoTerminal::open()
{
    close();
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error_ = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        close();
        return false;
    }
    const char* name = ::ptsname(master_);
    if (name == nullptr) {
        error_ = "cannot name the pseudo-terminal";
        close();
        return false;
    }
    path_ = name;
    slave_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        error_ = std::string("cannot open ") + path_ + ": " + std::strerror(errno);
        close();
        return false;
    }
    // Raw 8-bit line on both sides: no echo, no line editing, no translation.
    for (int fd : {slave_, master_}) {
        termios tio{};
        if (::tcgetattr(fd, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::cfsetispeed(&tio, B9600);
            ::cfsetospeed(&tio, B9600);
            ::tcsetattr(fd, TCSANOW, &tio);
        }
    }
    // The master never blocks: a full buffer is handled in write().
    const int flags = ::fcntl(master_, F_GETFL);
    if (flags >= 0) ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    return true;
}

void PseudoTerminal::close()
{
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
    slave_ = master_ = -1;
}

std::optional<std::string> PseudoTerminal::read(int timeoutMs)
{
    pollfd pfd{master_, POLLIN, 0};
    const int ready = ::poll(&pfd, 1, timeoutMs);
    if (ready < 0) {
        if (errno == EINTR) return std::string();
        error_ = std::strerror(errno);
        return std::nullopt;
    }
    if (ready == 0 || (pfd.revents & POLLIN) == 0) return std::string();
    char buf[4096];
    const ssize_t n = ::read(master_, buf, sizeof buf);
    if (n < 0) {
        if (errno == EAGAIN || errno == EINTR || errno == EIO) return std::string();
        error_ = std::strerror(errno);
        return std::nullopt;
    }
    return std::string(buf, static_cast<std::size_t>(n));
}

bool PseudoTerminal::write(std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                pollfd pfd{master_, POLLOUT, 0};
                if (::poll(&pfd, 1, 100) <= 0) {
                    // No client reads the device: drop what waits there unread.
                    ::tcflush(slave_, TCIFLUSH);
                }
                continue;
            }
            error_ = std::strerror(errno);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace zt
