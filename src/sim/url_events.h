// The get-URL Apple event on the simulated Mac: a URL opened anywhere reaches the application
// that registered its scheme.
#pragma once

#include <functional>
#include <string>

#include "platform/url_events.h"
#include "sim/run_loop.h"

namespace tidra::sim {

class SimUrlEvents : public UrlEvents {
  public:
    explicit SimUrlEvents(RunLoop& loop) : loop_(loop) {}
    void setGetURLHandler(std::function<void(const std::string&)> handler) override {
        handler_ = std::move(handler);
    }
    // The process whose handler this is (Tidra's, while it runs).
    void setOwner(int pid) { owner_ = pid; }
    // The process has ended, and its handler with it.
    void dropOwner(int pid) {
        if (pid == owner_) handler_ = nullptr;
    }
    // Sends the event: the handler runs on the main thread. An application without a handler
    // takes the event and does nothing with it.
    void deliver(const std::string& url) {
        loop_.post(
            [this, url] {
                if (auto handler = handler_) handler(url);
            },
            owner_);
    }

  private:
    RunLoop& loop_;
    std::function<void(const std::string&)> handler_;
    int owner_ = 0;
};

}  // namespace tidra::sim
