// System-wide hot keys over Carbon's RegisterEventHotKey, which needs no Accessibility
// permission. Registrations are exclusive, so that a combination another application holds is
// refused rather than shared.
#import <Carbon/Carbon.h>

#include <map>

#include "mac/services.h"

namespace tidra::mac {
namespace {

// The signature Tidra's hot keys carry in their EventHotKeyID.
constexpr OSType kTidraSignature =
    (OSType('T') << 24) | (OSType('d') << 16) | (OSType('r') << 8) | OSType('a');

OSStatus hotKeyPressed(EventHandlerCallRef, EventRef event, void* userData);

class MacHotKeys final : public HotKeys {
  public:
    std::unique_ptr<HotKey> registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                           std::function<void()> pressed, int& status) override {
        if (!handlerInstalled_) {
            const EventTypeSpec hotKeyEvent = {kEventClassKeyboard, kEventHotKeyPressed};
            status =
                InstallEventHandler(GetApplicationEventTarget(), NewEventHandlerUPP(&hotKeyPressed),
                                    1, &hotKeyEvent, this, NULL);
            if (status != noErr) return nullptr;
            handlerInstalled_ = true;
        }
        const EventHotKeyID identifier = {kTidraSignature, nextId_++};
        EventHotKeyRef ref = NULL;
        status = RegisterEventHotKey(keyCode, modifiers, identifier, GetApplicationEventTarget(),
                                     kEventHotKeyExclusive, &ref);
        if (status != noErr) return nullptr;
        pressed_[identifier.id] = std::move(pressed);
        return std::make_unique<Registration>(*this, ref, identifier.id);
    }

    void pressed(UInt32 identifier) {
        auto found = pressed_.find(identifier);
        if (found == pressed_.end()) return;
        // A copy: the press may change the registrations.
        std::function<void()> run = found->second;
        if (run) run();
    }

  private:
    class Registration final : public HotKey {
      public:
        Registration(MacHotKeys& owner, EventHotKeyRef ref, UInt32 identifier)
            : owner_(owner), ref_(ref), identifier_(identifier) {}
        ~Registration() override {
            UnregisterEventHotKey(ref_);
            owner_.pressed_.erase(identifier_);
        }

      private:
        MacHotKeys& owner_;
        EventHotKeyRef ref_;
        UInt32 identifier_;
    };

    bool handlerInstalled_ = false;
    UInt32 nextId_ = 1;
    std::map<UInt32, std::function<void()>> pressed_;
};

OSStatus hotKeyPressed(EventHandlerCallRef, EventRef event, void* userData) {
    EventHotKeyID identifier = {0, 0};
    const OSStatus status = GetEventParameter(event, kEventParamDirectObject, typeEventHotKeyID,
                                              NULL, sizeof identifier, NULL, &identifier);
    if (status != noErr || identifier.signature != kTidraSignature) return eventNotHandledErr;
    static_cast<MacHotKeys*>(userData)->pressed(identifier.id);
    return noErr;
}

}  // namespace

std::unique_ptr<HotKeys> makeHotKeys() {
    return std::make_unique<MacHotKeys>();
}

}  // namespace tidra::mac
