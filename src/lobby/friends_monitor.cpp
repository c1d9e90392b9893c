#include "lobby/friends_monitor.h"

namespace kestrova {

TFileMonitorThread::TFileMonitorThread(std::string fileName, IFriendsFiles& files,
                                       std::unique_ptr<IChangeNotice> notice,
                                       std::optional<int64_t> lastWrite,
                                       std::function<void()> notify)
    : fileName_(std::move(fileName)),
      files_(files),
      notice_(std::move(notice)),
      seen_(lastWrite),
      notify_(std::move(notify)) {
    thread_ = std::thread([this] { Run(); });
}

TFileMonitorThread::~TFileMonitorThread() {
    Stop();
}

void TFileMonitorThread::Stop() {
    terminated_ = true;
    notice_->Wake();
    if (thread_.joinable()) thread_.join();
}

void TFileMonitorThread::Run() {
    while (!terminated_) {
        if (!notice_->Wait()) break;
        std::optional<int64_t> now = files_.LastWriteTime(fileName_);
        if (now == seen_) continue;
        seen_ = now;
        if (!terminated_) notify_();
    }
}

}  // namespace kestrova
