#include "sim/automation_consent.h"

#include <fstream>
#include <iterator>

#include "sim/formats/plist_value.h"

namespace tidra::sim {

SimAutomationConsent::SimAutomationConsent(const Disk& disk, std::string file, bool asks)
    : disk_(disk), file_(std::move(file)), asks_(asks) {
    load();
}

std::string SimAutomationConsent::keyOf(const std::string& client, const std::string& target) {
    return client + " → " + target;
}

std::optional<bool> SimAutomationConsent::answer(const std::string& client,
                                                 const std::string& target) const {
    std::lock_guard lock(mutex_);
    auto it = answers_.find(keyOf(client, target));
    if (it == answers_.end()) return std::nullopt;
    return it->second;
}

std::map<std::string, bool> SimAutomationConsent::answers() const {
    std::lock_guard lock(mutex_);
    return answers_;
}

SimAutomationConsent::Answer SimAutomationConsent::ask(
    const Party& client, const Party& target,
    const std::function<bool(const std::function<bool()>&)>& waitHere) {
    if (!asks_) return Answer::Allowed;
    const std::string key = keyOf(client.bundleIdentifier, target.bundleIdentifier);
    const auto kept = [&](const std::map<std::string, bool>::const_iterator it) {
        return it->second ? Answer::Allowed : Answer::Denied;
    };
    {
        std::unique_lock lock(mutex_);
        auto it = answers_.find(key);
        if (it != answers_.end()) return kept(it);
        // One prompt at a time: a second event waits for the first one's answer.
        answered_.wait(lock, [this] { return !prompt_; });
        it = answers_.find(key);
        if (it != answers_.end()) return kept(it);
        prompt_ = Prompt{client, target, std::nullopt, false};
    }
    const auto settled = [this] {
        std::lock_guard lock(mutex_);
        return prompt_->allow.has_value() || prompt_->givenUp;
    };
    if (waitHere) {
        if (!waitHere(settled)) giveUpPrompt();
    } else {
        if (shown_) shown_();
        std::unique_lock lock(mutex_);
        answered_.wait(lock, [this] { return prompt_->allow || prompt_->givenUp; });
    }
    std::lock_guard lock(mutex_);
    const std::optional<bool> allow = prompt_->allow;
    // An answer that cannot be kept is asked for again next time, as one never given.
    if (allow) {
        answers_[key] = *allow;
        if (!saveLocked()) answers_.erase(key);
    }
    prompt_.reset();
    answered_.notify_all();
    if (!allow) return Answer::Unanswered;
    return *allow ? Answer::Allowed : Answer::Denied;
}

std::optional<std::string> SimAutomationConsent::prompt() const {
    std::lock_guard lock(mutex_);
    if (!prompt_ || prompt_->allow || prompt_->givenUp) return std::nullopt;
    const std::string& app = prompt_->client.name;
    const std::string& target = prompt_->target.name;
    return "“" + app + "” wants access to control “" + target +
           "”. Allowing control will provide access to documents and data in “" + target +
           "”, and to perform actions within that app.";
}

std::string SimAutomationConsent::promptPurpose() const {
    std::lock_guard lock(mutex_);
    if (!prompt_ || prompt_->allow || prompt_->givenUp) return "";
    return prompt_->client.purpose;
}

bool SimAutomationConsent::answerPrompt(bool allow) {
    std::lock_guard lock(mutex_);
    if (!prompt_ || prompt_->allow || prompt_->givenUp) return false;
    prompt_->allow = allow;
    answered_.notify_all();
    return true;
}

bool SimAutomationConsent::changeAnswer(const std::string& client, const std::string& target,
                                        bool allow) {
    std::lock_guard lock(mutex_);
    auto it = answers_.find(keyOf(client, target));
    if (it == answers_.end()) return false;
    const bool was = it->second;
    it->second = allow;
    if (saveLocked()) return true;
    it->second = was;
    return false;
}

void SimAutomationConsent::allowUnlessAnswered(const std::string& client,
                                               const std::string& target) {
    std::lock_guard lock(mutex_);
    if (!asks_ || !answers_.emplace(keyOf(client, target), true).second) return;
    if (!saveLocked()) answers_.erase(keyOf(client, target));
}

void SimAutomationConsent::giveUpPrompt() {
    std::lock_guard lock(mutex_);
    if (!prompt_) return;
    prompt_->givenUp = true;
    answered_.notify_all();
}

void SimAutomationConsent::load() {
    std::ifstream in(disk_.real(file_), std::ios::binary);
    if (!in) return;
    const Value stored =
        parsePlist(Data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    for (const auto& [key, allowed] : stored.dictionary())
        if (key.isString() && allowed.isBoolean()) answers_[key.string()] = allowed.boolValue();
}

// Written whole or not at all: a crash or a full disk leaves the answers kept before.
bool SimAutomationConsent::saveLocked() const {
    Dictionary stored;
    for (const auto& [key, allowed] : answers_) stored[Value(key)] = Value(allowed);
    auto bytes = toBinaryPlist(Value(std::move(stored)));
    if (!bytes) return false;
    return !disk_.writeFile(
        file_, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

}  // namespace tidra::sim
