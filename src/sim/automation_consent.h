// The user's consent to one application controlling another with Apple events, as macOS asks it
// from 10.14 on: the first event an application sends to another waits while the system asks
// (“Tidra” wants access to control “System Events”. … Don’t Allow / OK); the answer is kept per
// application in the Mac's folder, and can be changed later under Privacy & Security › Automation.
// 10.13 asks nothing and lets every event through. Events are sent on any thread; the prompt is
// answered from the main thread, hence the lock.
#pragma once

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "sim/disk.h"

namespace tidra::sim {

inline constexpr const char* kSystemEventsIdentifier = "com.apple.systemevents";

class SimAutomationConsent {
  public:
    struct Party {
        std::string bundleIdentifier;
        std::string name;
        // Why the client asks, from its Info.plist in the user's language (empty: it says not).
        std::string purpose = {};
    };
    // Unanswered: nobody was left to answer the prompt; the event fails as a refused one does,
    // and the system asks again next time.
    enum class Answer { Allowed, Denied, Unanswered };

    // `file`: the Mac path of the kept answers; `asks`: whether this system asks at all.
    SimAutomationConsent(const Disk& disk, std::string file, bool asks);

    bool asks() const { return asks_; }
    // The kept answer of `client` for `target`: true allowed, false denied, nothing not asked.
    std::optional<bool> answer(const std::string& client, const std::string& target) const;
    // Every kept answer, by "client → target" (bundle identifiers).
    std::map<std::string, bool> answers() const;

    // On the thread sending the event: the kept answer, or else the prompt's, waiting for it.
    // `waitHere`, when given, waits on this thread instead (one that must answer it itself):
    // it answers false when nobody is left to answer.
    Answer ask(const Party& client, const Party& target,
               const std::function<bool(const std::function<bool()>& answered)>& waitHere = {});
    // The prompt showing now, as the system words it, or nothing.
    std::optional<std::string> prompt() const;
    // The reason the asking application gives, shown under the prompt; empty when it gives none.
    std::string promptPurpose() const;
    // The person's answer to the prompt showing; false when none shows.
    bool answerPrompt(bool allow);
    // The person's switch in System Settings for an application that asked before. False when it
    // never asked (the pane does not list it), or when the answer could not be kept.
    bool changeAnswer(const std::string& client, const std::string& target, bool allow);
    // As if the user had allowed it before: a Mac set up for work that is not about the prompt.
    void allowUnlessAnswered(const std::string& client, const std::string& target);
    // Nobody is left to answer the prompt showing.
    void giveUpPrompt();
    // Called (without this class's lock held) when a prompt shows.
    void setPromptShown(std::function<void()> shown) { shown_ = std::move(shown); }

  private:
    static std::string keyOf(const std::string& client, const std::string& target);
    void load();
    bool saveLocked() const;

    const Disk& disk_;
    std::string file_;
    bool asks_;
    mutable std::mutex mutex_;
    std::condition_variable answered_;
    std::map<std::string, bool> answers_;
    struct Prompt {
        Party client, target;
        std::optional<bool> allow;
        bool givenUp = false;
    };
    std::optional<Prompt> prompt_;
    std::function<void()> shown_;
};

}  // namespace tidra::sim
