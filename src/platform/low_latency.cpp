#include "platform/low_latency.h"

#if defined(__linux__)
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace zt {

bool requestLowLatency(int fd)
{
#if defined(__linux__)
    if (fd < 0) return false;
    serial_struct settings{};
    if (::ioctl(fd, TIOCGSERIAL, &settings) != 0) return false;
    if ((settings.flags & ASYNC_LOW_LATENCY) != 0) return true;
    settings.flags |= ASYNC_LOW_LATENCY;
    return ::ioctl(fd, TIOCSSERIAL, &settings) == 0;
#else
    (void)fd;
    return false;
#endif
}

}  // namespace zt
