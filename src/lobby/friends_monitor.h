#pragma once
// TFileMonitorThread: the one worker thread of the program. It waits on the
// folder of the friends file and, each time the file's last-write time is no
// longer the one it saw last, calls `notify` (which posts a notice to the
// user-interface thread). It touches nothing else.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "lobby/friends_ports.h"

namespace kestrova {

class TFileMonitorThread {
  public:
    // Starts the thread. The notice already watches the file's folder and
    // `lastWrite` is the file's time taken before the list was read, so a
    // change made between that read and the thread's start is not missed.
    TFileMonitorThread(std::string fileName, IFriendsFiles& files,
                       std::unique_ptr<IChangeNotice> notice, std::optional<int64_t> lastWrite,
                       std::function<void()> notify);
    // Stops the thread and waits for it.
    ~TFileMonitorThread();
    TFileMonitorThread(const TFileMonitorThread&) = delete;
    TFileMonitorThread& operator=(const TFileMonitorThread&) = delete;

    // Asks the thread to end and wakes its wait at once; returns when it ended.
    void Stop();
    const std::string& FileName() const { return fileName_; }

  private:
    void Run();

    const std::string fileName_;
    IFriendsFiles& files_;
    std::unique_ptr<IChangeNotice> notice_;
    std::optional<int64_t> seen_;
    std::function<void()> notify_;
    std::atomic<bool> terminated_{false};
    std::thread thread_;
};

}  // namespace kestrova
