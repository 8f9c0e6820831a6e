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

// The registered hot keys and the one event handler that serves them. The handler is installed
// with the first hot key and removed with the last, so Carbon never calls into a table that has
// gone; removing it from inside a press is safe since Mac OS X 10.1. Registrations may outlive
// the service that made them, so they reach the table through a weak pointer.
class HotKeyTable {
  public:
    HotKeyTable() = default;
    HotKeyTable(const HotKeyTable&) = delete;
    HotKeyTable& operator=(const HotKeyTable&) = delete;
    // A hot key still registered when the service ends would keep its combination from every
    // other application with nobody to answer it.
    ~HotKeyTable() {
        for (auto& [identifier, entry] : entries_) UnregisterEventHotKey(entry.ref);
        entries_.clear();
        removeHandler();
    }

    OSStatus add(UInt32 keyCode, UInt32 modifiers, std::function<void()> pressed,
                 UInt32& identifier) {
        if (const OSStatus status = installHandler(); status != noErr) return status;
        const EventHotKeyID hotKeyId = {kTidraSignature, nextId_++};
        EventHotKeyRef ref = NULL;
        const OSStatus status = RegisterEventHotKey(
            keyCode, modifiers, hotKeyId, GetApplicationEventTarget(), kEventHotKeyExclusive, &ref);
        if (status != noErr) {
            if (entries_.empty()) removeHandler();
            return status;
        }
        entries_[hotKeyId.id] = Entry{ref, std::move(pressed)};
        identifier = hotKeyId.id;
        return noErr;
    }

    void remove(UInt32 identifier) {
        auto found = entries_.find(identifier);
        if (found == entries_.end()) return;
        UnregisterEventHotKey(found->second.ref);
        entries_.erase(found);
        if (entries_.empty()) removeHandler();
    }

    void pressed(UInt32 identifier) const {
        auto found = entries_.find(identifier);
        if (found == entries_.end()) return;
        // A copy: the press may change the registrations, or end them all.
        std::function<void()> run = found->second.pressed;
        if (run) run();
    }

  private:
    struct Entry {
        EventHotKeyRef ref = NULL;
        std::function<void()> pressed;
    };

    OSStatus installHandler() {
        if (handler_ != NULL) return noErr;
        const EventTypeSpec hotKeyEvent = {kEventClassKeyboard, kEventHotKeyPressed};
        EventHandlerUPP upp = NewEventHandlerUPP(&hotKeyPressed);
        EventHandlerRef handler = NULL;
        const OSStatus status =
            InstallEventHandler(GetApplicationEventTarget(), upp, 1, &hotKeyEvent, this, &handler);
        if (status != noErr) {
            DisposeEventHandlerUPP(upp);
            return status;
        }
        upp_ = upp;
        handler_ = handler;
        return noErr;
    }

    void removeHandler() {
        if (handler_ == NULL) return;
        RemoveEventHandler(handler_);
        DisposeEventHandlerUPP(upp_);
        handler_ = NULL;
        upp_ = NULL;
    }

    EventHandlerUPP upp_ = NULL;
    EventHandlerRef handler_ = NULL;
    UInt32 nextId_ = 1;
    std::map<UInt32, Entry> entries_;
};

class MacHotKeys final : public HotKeys {
  public:
    std::unique_ptr<HotKey> registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                           std::function<void()> pressed, int& status) override {
        UInt32 identifier = 0;
        status = table_->add(keyCode, modifiers, std::move(pressed), identifier);
        if (status != noErr) return nullptr;
        return std::make_unique<Registration>(table_, identifier);
    }

  private:
    class Registration final : public HotKey {
      public:
        Registration(std::weak_ptr<HotKeyTable> table, UInt32 identifier)
            : table_(std::move(table)), identifier_(identifier) {}
        ~Registration() override {
            if (auto table = table_.lock()) table->remove(identifier_);
        }

      private:
        std::weak_ptr<HotKeyTable> table_;
        UInt32 identifier_;
    };

    std::shared_ptr<HotKeyTable> table_ = std::make_shared<HotKeyTable>();
};

OSStatus hotKeyPressed(EventHandlerCallRef, EventRef event, void* userData) {
    EventHotKeyID identifier = {0, 0};
    const OSStatus status = GetEventParameter(event, kEventParamDirectObject, typeEventHotKeyID,
                                              NULL, sizeof identifier, NULL, &identifier);
    if (status != noErr || identifier.signature != kTidraSignature) return eventNotHandledErr;
    static_cast<const HotKeyTable*>(userData)->pressed(identifier.id);
    return noErr;
}

}  // namespace

std::unique_ptr<HotKeys> makeHotKeys() {
    return std::make_unique<MacHotKeys>();
}

}  // namespace tidra::mac
