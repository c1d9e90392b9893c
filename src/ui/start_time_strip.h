#pragma once
// The strip below the brackets: "Start time:" and "Rules:" (15 characters
// each) and the "Hosts..." button, with its own min/max button.
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>

namespace kestrova {

class TStartTimeStrip : public QWidget {
    Q_OBJECT
  public:
    static constexpr int MaxTextLength = 15;
    explicit TStartTimeStrip(QWidget* parent);

    void SetTexts(const QString& start, const QString& rules);
    void SetMinimised(bool on);
    QLineEdit* StartEdit() const { return start_; }
    QLineEdit* RulesEdit() const { return rules_; }
    QPushButton* HostsButton() const { return hosts_; }
    QToolButton* MinMaxButton() const { return minMax_; }

  signals:
    // The host finished editing either field.
    void textsEdited(const QString& start, const QString& rules);

  private:
    QLineEdit *start_, *rules_;
    QPushButton* hosts_;
    QToolButton* minMax_;
};

}  // namespace kestrova
