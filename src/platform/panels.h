// The open panel (NSOpenPanel) and alerts (NSAlert).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/object.h"
#include "platform/url.h"

namespace tidra {

inline constexpr long kModalResponseOK = 1;
inline constexpr long kAlertFirstButtonReturn = 1000;
inline constexpr long kAlertSecondButtonReturn = 1001;
inline constexpr int kSmallControlSize = 1;

class OpenPanel : public Object {
  public:
    virtual void setDirectoryURL(const Url& url) = 0;
    virtual void setPrompt(const std::string& prompt) = 0;
    virtual void setCanChooseFiles(bool can) = 0;
    virtual void setResolvesAliases(bool resolves) = 0;
    virtual void setAllowedFileTypes(const std::vector<std::string>& types) = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual void setMessage(const std::string& message) = 0;
    virtual void setLevel(long level) = 0;
    // Shows the panel without blocking; the handler runs on the main queue with the response.
    virtual void beginWithCompletionHandler(std::function<void(long response)> handler) = 0;
    // The chosen file, once the user confirmed.
    virtual std::optional<Url> URL() const = 0;
};

class AlertButton {
  public:
    virtual ~AlertButton() = default;
    virtual void setKeyEquivalent(const std::string& key) = 0;
};

class SuppressionButton {
  public:
    virtual ~SuppressionButton() = default;
    virtual int state() const = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual void setControlSize(int size) = 0;
    virtual void setFontSize(double points) = 0;
};

class Alert : public Object {
  public:
    virtual void setMessageText(const std::string& text) = 0;
    virtual void setInformativeText(const std::string& text) = 0;
    virtual AlertButton& addButtonWithTitle(const std::string& title) = 0;
    virtual void setShowsSuppressionButton(bool shows) = 0;
    virtual SuppressionButton& suppressionButton() = 0;
    // Runs a modal loop until the user answers: 1000 for the first button, 1001 the second...
    virtual long runModal() = 0;
};

}  // namespace tidra
