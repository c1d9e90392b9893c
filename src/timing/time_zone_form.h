#pragma once
// "Select Time Zones to Display": the middle (%e) and right (%w) zones of the
// world clock, each with its "24 hour?" box, and a preview of both clocks.
#include <QDialog>
#include <QTimer>
#include <array>
#include <vector>

#include "timing/time_zone.h"
#include "timing/world_clock.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QListWidget;
class QPushButton;

namespace kestrova {

class TTourneyState;

class TSelectTimeZoneForm : public QDialog {
    Q_OBJECT
  public:
    enum TSide { Middle = 0, Right = 1 };

    // Reads every zone of the store, westernmost first, and preselects the
    // store's default zones.
    explicit TSelectTimeZoneForm(TTourneyState& state, QWidget* parent = nullptr);

    // On opening from the menu: the zones and boxes of the settings.
    void SelectFromSettings();

    const std::vector<TTimeZoneInfo>& Zones() const { return zones_; }
    QListWidget* List(TSide side) const { return lists_[side]; }
    QCheckBox* Hours24(TSide side) const { return hours24_[side]; }
    QLabel* Preview(TSide side) const { return previews_[side]; }
    QLabel* Note() const { return note_; }
    QTimer& PreviewTimer() { return timer_; }
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // One tick of the preview timer: both zone times under "Time:".
    void ShowPreview();

  protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

  private:
    void BuildSide(TSide side, const char* caption, QGridLayout* grid, int column);
    void SelectKey(TSide side, const std::string& key);
    void SideChanged(TSide side);
    void OkClicked();

    TTourneyState& state_;
    std::vector<TTimeZoneInfo> zones_;
    std::array<QListWidget*, 2> lists_{};
    std::array<QCheckBox*, 2> hours24_{};
    std::array<QLabel*, 2> previews_{};
    std::array<TZoneClock, 2> clocks_{};
    QLabel* note_ = nullptr;
    QTimer timer_;
};

}  // namespace kestrova
