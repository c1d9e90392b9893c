#include "fakes/fake_friends.h"

#include <chrono>

namespace kestrova::testing {

FaultyFiles::FaultyFiles() : real_(MakeDefaultFriendsPlatform(nullptr).Files) {}

bool FaultyFiles::ReadExclusive(const std::string& path, std::string& bytes, std::string& error) {
    ++Reads;
    if (FailReads > 0) {
        --FailReads;
        error = "The file is in use by another program.";
        return false;
    }
    return real_->ReadExclusive(path, bytes, error);
}

bool FaultyFiles::WriteExclusive(const std::string& path, const std::string& bytes,
                                 std::string& error) {
    if (FailWrites) {
        error = "The file is in use by another program.";
        return false;
    }
    return real_->WriteExclusive(path, bytes, error);
}

bool FaultyFiles::Copy(const std::string& from, const std::string& to, bool failIfExists) {
    return !FailCopies && real_->Copy(from, to, failIfExists);
}

void FakeLoop::Post(std::function<void()> call) {
    {
        std::lock_guard<std::mutex> lock(m_);
        queue_.push_back(std::move(call));
    }
    cv_.notify_all();
}

void FakeLoop::StartTimer(int milliseconds, std::function<void()> tick) {
    interval_ = milliseconds;
    sinceTick_ = 0;
    tick_ = std::move(tick);
}

bool FakeLoop::WaitForPost(int timeoutMs) {
    std::unique_lock<std::mutex> lock(m_);
    return cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                        [this] { return !queue_.empty(); });
}

int FakeLoop::RunPosted() {
    std::deque<std::function<void()>> calls;
    {
        std::lock_guard<std::mutex> lock(m_);
        calls.swap(queue_);
    }
    for (auto& c : calls)
        c();
    return static_cast<int>(calls.size());
}

int FakeLoop::Posted() const {
    std::lock_guard<std::mutex> lock(m_);
    return static_cast<int>(queue_.size());
}

void FakeLoop::AdvanceMs(int milliseconds) {
    for (int i = 0; i < milliseconds; ++i) {
        clock_.AdvanceSeconds(0.001);
        if (!tick_) continue;
        if (++sinceTick_ < interval_) continue;
        sinceTick_ = 0;
        auto tick = tick_;  // the tick may stop the timer
        tick();
    }
}

}  // namespace kestrova::testing
