#pragma once
// The time-zone store of platforms without the registry's: the system's tz
// database through QTimeZone. Key names are IANA identifiers; each zone's
// rule is fitted to the TZI form over the current year and the next, and a
// zone whose rule does not fit keeps its offset of now (FixedOffset).
#include <map>

#include "common/ports.h"

namespace kestrova {

class TQtTimeZoneStore : public ITimeZoneStore {
  public:
    // year 0: the current year.
    explicit TQtTimeZoneStore(int year = 0);

    std::vector<std::string> KeyNames() override;
    std::optional<TTimeZoneRecord> Find(const std::string& keyName) override;
    TLocalZoneInfo LocalZone() override;

    int Year() const { return year_; }

  private:
    int year_;
    std::map<std::string, TTimeZoneRecord> cache_;
};

}  // namespace kestrova
