#include "platform/object.h"

namespace tidra {

bool Object::performAction(const std::string&, Object*) {
    return false;
}
bool Object::performNotification(const std::string&, const Notification&) {
    return false;
}
bool Object::setOutlet(const std::string&, Object*) {
    return false;
}
void Object::observeValueForKeyPath(const std::optional<std::string>&, Object*,
                                    const std::optional<Dictionary>&, void*) {}

}  // namespace tidra
