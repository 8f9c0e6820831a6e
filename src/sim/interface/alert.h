// Alerts (NSAlert) on the simulated Mac: runModal runs a nested loop on the main thread until the
// front end answers with a button title (and, where the alert shows it, the suppression checkbox).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/panels.h"
#include "sim/run_loop.h"

namespace tidra::sim {

class SimAlerts;

class SimSuppressionButton : public SuppressionButton {
  public:
    int state() const override { return state_; }
    void setTitle(const std::string& title) override { title_ = title; }
    void setControlSize(int size) override { controlSize_ = size; }
    void setFontSize(double points) override { fontSize_ = points; }

    void setState(int state) { state_ = state; }
    int controlSize() const { return controlSize_; }
    double fontSize() const { return fontSize_; }
    // The platform's own title until the application gives one.
    const std::string& title() const { return title_; }

  private:
    std::string title_ = "Do not show this message again";
    int state_ = 0;
    int controlSize_ = 0;
    double fontSize_ = 13;
};

class SimAlertButton : public AlertButton {
  public:
    explicit SimAlertButton(std::string title) : title_(std::move(title)) {}
    void setKeyEquivalent(const std::string& key) override { key_ = key; }
    const std::string& title() const { return title_; }
    const std::string& keyEquivalent() const { return key_; }

  private:
    std::string title_;
    std::string key_;
};

class SimAlert : public Alert {
  public:
    SimAlert(RunLoop& loop, SimAlerts& alerts) : loop_(loop), alerts_(alerts) {}

    void setMessageText(const std::string& text) override { message_ = text; }
    void setInformativeText(const std::string& text) override { informative_ = text; }
    AlertButton& addButtonWithTitle(const std::string& title) override;
    void setShowsSuppressionButton(bool shows) override { showsSuppression_ = shows; }
    SuppressionButton& suppressionButton() override { return suppression_; }
    long runModal() override;

    const std::string& messageText() const { return message_; }
    const std::string& informativeText() const { return informative_; }
    const std::vector<std::unique_ptr<SimAlertButton>>& buttons() const { return buttons_; }
    bool showsSuppressionButton() const { return showsSuppression_; }
    const SimSuppressionButton& suppression() const { return suppression_; }
    std::optional<long> response() const { return response_; }

    // The user's click; an explanation when the alert has no such button or checkbox.
    std::optional<std::string> answer(const std::string& buttonTitle, bool suppress);

  private:
    RunLoop& loop_;
    SimAlerts& alerts_;
    std::string message_;
    std::string informative_;
    std::vector<std::unique_ptr<SimAlertButton>> buttons_;
    bool showsSuppression_ = false;
    SimSuppressionButton suppression_;
    std::optional<long> response_;
};

// Every alert made on the simulated Mac: the open ones, innermost last, and all that were shown.
class SimAlerts {
  public:
    explicit SimAlerts(RunLoop& loop) : loop_(loop) {}

    std::shared_ptr<Alert> makeAlert();
    // Answers the innermost open alert; an explanation when that is not possible.
    std::optional<std::string> answer(const std::string& buttonTitle, bool suppress);

    const std::vector<SimAlert*>& open() const { return open_; }
    // Every alert that was run, in order, with its answer once given.
    const std::vector<std::shared_ptr<SimAlert>>& shown() const { return shown_; }

  private:
    friend class SimAlert;
    RunLoop& loop_;
    std::vector<SimAlert*> open_;
    std::vector<std::shared_ptr<SimAlert>> shown_;
    std::vector<std::weak_ptr<SimAlert>> made_;
    void opened(SimAlert* alert);
    void closed(SimAlert* alert);
};

}  // namespace tidra::sim
