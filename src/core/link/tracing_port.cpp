#include "core/link/tracing_port.h"

#include <cstdio>

namespace zt {

std::string hexBytes(std::span<const std::uint8_t> bytes)
{
    static const char* digits = "0123456789ABCDEF";
    std::string s;
    s.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        if (!s.empty()) s.push_back(' ');
        s.push_back(digits[b >> 4]);
        s.push_back(digits[b & 0x0F]);
    }
    return s;
}

TracingPort::TracingPort(LinkPort& inner, const Clock& clock, Sink sink)
    : inner_(inner), clock_(clock), sink_(std::move(sink)), start_(clock.now())
{
}

TracingPort::~TracingPort()
{
    if (receiving_) inner_.setReceiver({});
    flush();
}

std::string TracingPort::stamp(std::chrono::microseconds at) const
{
    const long long us = (at - start_).count();
    char text[32];
    std::snprintf(text, sizeof text, "%10lld.%03lld", us / 1000, us % 1000);
    return text;
}

void TracingPort::note(const std::string& text)
{
    flush();
    if (sink_) sink_(stamp(clock_.now()) + " " + text);
}

void TracingPort::flush()
{
    if (incoming_.empty()) return;
    if (sink_) sink_(stamp(incomingAt_) + " <- " + hexBytes(incoming_));
    incoming_.clear();
}

void TracingPort::setReceiver(ReceiveHandler receiver)
{
    receiving_ = static_cast<bool>(receiver);
    if (!receiver) return inner_.setReceiver({});
    inner_.setReceiver([this, receiver = std::move(receiver)](std::span<const std::uint8_t> bytes) {
        received(bytes);
        receiver(bytes);
    });
}

void TracingPort::received(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty()) return;
    if (incoming_.empty()) incomingAt_ = clock_.now();
    incoming_.insert(incoming_.end(), bytes.begin(), bytes.end());
}

PortOpenResult TracingPort::open(const PortSettings& settings)
{
    const PortOpenResult r = inner_.open(settings);
    note(r.ok ? "open " + std::to_string(settings.baud) + " baud" : "open failed: " + r.reason);
    return r;
}

void TracingPort::close()
{
    if (inner_.isOpen()) note("close");
    inner_.close();
}

void TracingPort::send(std::span<const std::uint8_t> bytes)
{
    flush();
    if (sink_) sink_(stamp(clock_.now()) + " -> " + hexBytes(bytes));
    inner_.send(bytes);
}

void TracingPort::clear()
{
    // Bytes discarded by the port never reach the link: nothing to note.
    inner_.clear();
}

}  // namespace zt
