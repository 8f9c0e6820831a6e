// NSUserDefaults: the standard store, other domains by suite name, and key-value observation
// through forwarders.
#include <map>
#include <utility>

#include "mac/forwarder.h"
#include "mac/objc_memory.h"
#include "mac/services.h"
#include "mac/value_bridge.h"

namespace tidra::mac {
namespace {

class MacUserDefaults final : public UserDefaults {
  public:
    explicit MacUserDefaults(NSUserDefaults* defaults) : defaults_(defaults) {}
    ~MacUserDefaults() override {
        for (auto& [key, registration] : observers_)
            [defaults_ removeObserver:registration.forwarder
                           forKeyPath:toNSString(key.second)
                              context:registration.context];
    }

    Value objectForKey(const std::string& key) override {
        return fromFoundation([defaults_ objectForKey:toNSString(key)]);
    }
    bool boolForKey(const std::string& key) override {
        return [defaults_ boolForKey:toNSString(key)];
    }
    void setBool(bool value, const std::string& key) override {
        [defaults_ setBool:value forKey:toNSString(key)];
    }
    std::optional<Url> URLForKey(const std::string& key) override {
        return fromNSURL([defaults_ URLForKey:toNSString(key)]);
    }
    void setURL(const std::optional<Url>& url, const std::string& key) override {
        [defaults_ setURL:(url ? toNSURL(*url) : nil) forKey:toNSString(key)];
    }
    void setObject(const Value& value, const std::string& key) override {
        [defaults_ setObject:toFoundation(value) forKey:toNSString(key)];
    }
    void removeObjectForKey(const std::string& key) override {
        [defaults_ removeObjectForKey:toNSString(key)];
    }
    bool synchronize() override { return [defaults_ synchronize]; }
    Value persistentDomainForName(const std::string& domain) override {
        return fromFoundation([defaults_ persistentDomainForName:toNSString(domain)]);
    }

    void addObserver(Object* observer, const std::string& keyPath, unsigned options,
                     void* context) override {
        auto key = std::make_pair(observer, keyPath);
        if (observers_.count(key) != 0) return;
        TidraForwarder* forwarder = [[TidraForwarder alloc] initWithTarget:observer
                                                                  selector:keyPath
                                                                    sender:this];
        observers_[key] = Registration{forwarder, context};
        NSKeyValueObservingOptions native = 0;
        if (options & kKeyValueObservingOptionNew) native |= NSKeyValueObservingOptionNew;
        [defaults_ addObserver:forwarder
                    forKeyPath:toNSString(keyPath)
                       options:native
                       context:context];
    }
    void removeObserver(Object* observer, const std::string& keyPath, void* context) override {
        auto found = observers_.find(std::make_pair(observer, keyPath));
        if (found == observers_.end()) return;
        [defaults_ removeObserver:found->second.forwarder
                       forKeyPath:toNSString(keyPath)
                          context:context];
        observers_.erase(found);
    }

  private:
    struct Registration {
        TidraForwarder* forwarder;
        void* context;
    };
    NSUserDefaults* defaults_;
    std::map<std::pair<Object*, std::string>, Registration> observers_;
};

class MacPreferences final : public Preferences {
  public:
    UserDefaults& standardUserDefaults() override { return standard_; }
    std::shared_ptr<UserDefaults> suite(const std::string& name) override {
        NSUserDefaults* opened = [[NSUserDefaults alloc] initWithSuiteName:toNSString(name)];
        if (opened == nil) return nullptr;
        return std::make_shared<MacUserDefaults>(opened);
    }

  private:
    MacUserDefaults standard_{[NSUserDefaults standardUserDefaults]};
};

}  // namespace

std::unique_ptr<Preferences> makePreferences() {
    return std::make_unique<MacPreferences>();
}

}  // namespace tidra::mac
