#include "apps/radio_sim/memory_file.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "core/files/ini_profile.h"

namespace zt {

MemoryFileLoad loadMemoryFile(const std::filesystem::path& file, RadioMemory& memory)
{
    std::string bytes;
    if (!readFileBytes(file, bytes)) return MemoryFileLoad::Missing;
    if (bytes.size() != memory.size()) return MemoryFileLoad::WrongSize;
    std::copy(bytes.begin(), bytes.end(), reinterpret_cast<char*>(memory.data()));
    return MemoryFileLoad::Loaded;
}

bool saveMemoryFile(const std::filesystem::path& file, const RadioMemory& memory)
{
    if (file.empty()) return true;
    return replaceFileBytes(
        file, std::string_view(reinterpret_cast<const char*>(memory.data()), memory.size()));
}

MemorySaver::MemorySaver(std::filesystem::path file,
                         std::function<void(const std::filesystem::path&)> failed)
    : file_(std::move(file)), failed_(std::move(failed))
{
    if (!file_.empty()) thread_ = std::thread([this] { loop(); });
}

MemorySaver::~MemorySaver()
{
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void MemorySaver::save(const RadioMemory& memory)
{
    if (file_.empty()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        snapshot_ = memory;
        ++wanted_;
    }
    changed_.notify_all();
}

bool MemorySaver::saveAndWait(const RadioMemory& memory)
{
    if (file_.empty()) return true;
    save(memory);
    std::unique_lock<std::mutex> lock(mutex_);
    const std::uint64_t target = wanted_;
    changed_.wait(lock, [&] { return done_ >= target; });
    // A later snapshot may have been saved meanwhile; it holds this one's bytes
    // or newer ones, so its outcome is the answer.
    return lastOk_;
}

std::uint64_t MemorySaver::failedSaves() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return failures_;
}

void MemorySaver::loop()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return quit_ || done_ < wanted_; });
        if (done_ < wanted_) {
            const std::uint64_t generation = wanted_;
            const RadioMemory copy = snapshot_;
            lock.unlock();
            const bool ok = saveMemoryFile(file_, copy);
            if (!ok && failed_) failed_(file_);
            lock.lock();
            done_ = generation;
            lastOk_ = ok;
            if (!ok) ++failures_;
            changed_.notify_all();
            continue;
        }
        if (quit_) return;
    }
}

}  // namespace zt
