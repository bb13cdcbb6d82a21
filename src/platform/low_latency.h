#pragma once

// Asks a serial driver to hand over received bytes at once instead of after
// its usual delay of a few milliseconds (ASYNC_LOW_LATENCY on Linux). Each
// reply of the radio link waits on this delay, so it adds up over a
// transfer's hundreds of packets.

namespace zt {

// True when the driver of `fd` runs in low-latency mode afterwards. Drivers
// without the setting (a pseudo-terminal, other systems) give false and are
// left as they are.
bool requestLowLatency(int fd);

}  // namespace zt
