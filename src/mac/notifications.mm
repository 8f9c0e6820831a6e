// The distributed notification center (user notifications are in user_notifications.mm).

#include "mac/observers.h"
#include "mac/services.h"
#include "mac/value_bridge.h"
namespace tidra::mac {
namespace {

class MacDistributedNotificationCenter final : public DistributedNotificationCenter {
  public:
    void addObserver(Object* observer, const std::string& selector,
                     const std::optional<std::string>& name, Object*,
                     NotificationSuspensionBehavior suspensionBehavior) override {
        observers_.add(observer, selector, name, [TidraForwarder class],
                       static_cast<NSNotificationSuspensionBehavior>(suspensionBehavior));
    }
    void removeObserver(Object* observer, const std::optional<std::string>& name,
                        Object*) override {
        observers_.remove(observer, name);
    }

  private:
    NotificationObservers observers_{[NSDistributedNotificationCenter defaultCenter]};
};

}  // namespace

std::unique_ptr<DistributedNotificationCenter> makeDistributedNotificationCenter() {
    return std::make_unique<MacDistributedNotificationCenter>();
}

}  // namespace tidra::mac
