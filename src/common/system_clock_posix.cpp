#include <chrono>
#include <ctime>

#include "common/system_clock.h"

namespace kestrova {

TDateTime SystemLocalNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm lt{};
    localtime_r(&t, &lt);
    return EncodeDateTime(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday, lt.tm_hour, lt.tm_min,
                          lt.tm_sec, static_cast<int>(ms));
}

TDateTime SystemUtcNow() {
    std::time_t t = std::time(nullptr);
    std::tm gt{};
    gmtime_r(&t, &gt);
    return EncodeDateTime(gt.tm_year + 1900, gt.tm_mon + 1, gt.tm_mday, gt.tm_hour, gt.tm_min,
                          gt.tm_sec);
}

}  // namespace kestrova
