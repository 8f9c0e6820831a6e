// URLs of the schemes the bundle registers (CFBundleURLTypes), as the system hands them to the
// running application (the get-URL Apple event).
#pragma once

#include <functional>
#include <string>

namespace tidra {

class UrlEvents {
  public:
    virtual ~UrlEvents() = default;
    // `handler` receives each URL on the main thread, as the text the sender gave; an empty
    // handler stops the delivery.
    virtual void setGetURLHandler(std::function<void(const std::string& url)> handler) = 0;
};

}  // namespace tidra
