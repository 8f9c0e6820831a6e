#include "sim/preferences.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/paths.h"
#include "sim/formats/plist_value.h"

namespace tidra::sim {

namespace fs = std::filesystem;

namespace {
constexpr const char* kGlobalStem = ".GlobalPreferences";
// How long the daemon lets changes gather before it writes them.
constexpr double kDaemonDelay = 0.5;
}  // namespace

class SimPreferences::Store : public UserDefaults {
  public:
    Store(SimPreferences& prefs, std::string domain, bool standard)
        : prefs_(prefs), domain_(std::move(domain)), standard_(standard) {}

    Value objectForKey(const std::string& key) override { return prefs_.read(domain_, key); }
    bool boolForKey(const std::string& key) override {
        Value v = objectForKey(key);
        return (v.isNumber() || v.isString()) && v.boolValue();
    }
    void setBool(bool value, const std::string& key) override {
        prefs_.write(domain_, key, Value(value));
    }
    std::optional<Url> URLForKey(const std::string& key) override {
        Value v = objectForKey(key);
        if (v.isUrl()) return v.url();
        if (!v.isString() || v.string().empty()) return std::nullopt;
        const std::string& s = v.string();
        if (s[0] == '/' || s[0] == '~')
            return Url::fileURLWithPath(paths::expandTilde(s, prefs_.home_));
        return Url::fromString(s);
    }
    void setURL(const std::optional<Url>& url, const std::string& key) override {
        if (!url) return removeObjectForKey(key);
        auto path = url->path();
        if (url->isFileURL() && path)
            prefs_.write(domain_, key, Value(paths::abbreviateWithTilde(*path, prefs_.home_)));
        else
            prefs_.write(domain_, key, Value(url->absoluteString()));
    }
    void setObject(const Value& value, const std::string& key) override {
        if (value.isNil()) return removeObjectForKey(key);
        prefs_.write(domain_, key, value);
    }
    void removeObjectForKey(const std::string& key) override {
        prefs_.write(domain_, key, Value());
    }
    bool synchronize() override { return prefs_.synchronizeDomain(domain_); }
    Value persistentDomainForName(const std::string& domain) override {
        return prefs_.persistentDomain(domain);
    }
    void addObserver(Object* observer, const std::string& keyPath, unsigned options,
                     void* context) override {
        if (standard_) prefs_.addObserver(observer, keyPath, options, context);
    }
    void removeObserver(Object* observer, const std::string& keyPath, void* context) override {
        if (standard_) prefs_.removeObserver(observer, keyPath, context);
    }

  private:
    SimPreferences& prefs_;
    std::string domain_;
    bool standard_;
};

SimPreferences::SimPreferences(const Disk& disk, std::string appDomain, Console& console)
    : disk_(disk),
      home_(disk.home()),
      appDomain_(canonical(appDomain)),
      console_(console),
      standard_(std::make_unique<Store>(*this, appDomain_, true)) {}

SimPreferences::~SimPreferences() {
    flushAll();
}

UserDefaults& SimPreferences::standardUserDefaults() {
    return *standard_;
}

std::shared_ptr<UserDefaults> SimPreferences::suite(const std::string& name) {
    std::string domain = canonical(name);
    std::lock_guard lock(mutex_);
    if (name.empty() || unavailable_.count(domain)) return nullptr;
    return std::make_shared<Store>(*this, domain, false);
}

void SimPreferences::setSuiteAvailable(const std::string& name, bool available) {
    std::lock_guard lock(mutex_);
    if (available)
        unavailable_.erase(canonical(name));
    else
        unavailable_.insert(canonical(name));
}

std::string SimPreferences::canonical(const std::string& name) {
    if (name == kGlobalDomain || name == "-g" || name == kGlobalStem) return kGlobalStem;
    return name;
}

std::string SimPreferences::fileForDomain(const std::string& name) const {
    const std::string stem = canonical(name);
    // As the defaults tool takes a path for a domain; on this Mac the path lies on its disk.
    if (stem.starts_with("/") || stem.starts_with("~/"))
        return paths::standardize(stem + ".plist", home_);
    return paths::standardize(home_ + "/Library/Preferences/" + stem + ".plist", home_);
}

SimPreferences::Domain& SimPreferences::domainLocked(const std::string& name) {
    auto it = domains_.find(name);
    if (it != domains_.end()) return it->second;
    Domain& d = domains_[name];
    load(name, d);
    return d;
}

void SimPreferences::load(const std::string& name, Domain& d) {
    const std::string macFile = fileForDomain(name);
    const std::string file = disk_.real(macFile);
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return;
    std::ifstream in(file, std::ios::binary);
    Data bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.bad()) {
        Value root = parsePlist(bytes);
        if (root.isStringKeyedDictionary()) {
            d.values = root.dictionary();
            d.existed = true;
            return;
        }
    }
    // Keep the damaged file for inspection; a later write must not replace it unseen.
    std::string aside;
    for (int n = 1;; ++n) {
        aside = file + ".corrupt-" + std::to_string(n);
        if (!fs::exists(aside, ec)) break;
    }
    fs::rename(file, aside, ec);
    // Named as the Mac sees them, not as the folder behind the disk.
    auto shown = [this](const std::string& real) { return disk_.mac(real); };
    if (ec) {
        console_.log("Preferences file " + shown(file) +
                     " is damaged and could not be moved aside (" + ec.message() +
                     "); starting with an empty domain " + name);
    } else {
        console_.log("Preferences file " + shown(file) + " is damaged and was moved aside to " +
                     shown(aside) + "; starting with an empty domain " + name);
    }
}

Value SimPreferences::read(const std::string& domain, const std::string& key) {
    std::lock_guard lock(mutex_);
    // A lookup must not insert: an absent key would come back as a nil entry that no property
    // list can hold, and the domain could no longer be written.
    const Dictionary& values = domainLocked(domain).values;
    auto it = values.find(Value(key));
    return it == values.end() ? Value() : it->second;
}

void SimPreferences::write(const std::string& domain, const std::string& key, const Value& value) {
    // As the platform refuses non-property-list objects: storing one would make the whole
    // domain unwritable later.
    if (!value.isNil() && !isPropertyList(value)) {
        console_.log("Attempt to set a non-property-list object " + value.description() +
                     " as a preference value for key " + key + " in " + domain + "; ignored");
        return;
    }
    std::vector<Observation> toNotify;
    {
        std::lock_guard lock(mutex_);
        Domain& d = domainLocked(domain);
        if (value.isNil())
            d.values.erase(Value(key));
        else
            d.values[Value(key)] = value;
        d.dirty = true;
        d.existed = true;
        if (daemon_ && !flushScheduled_) {
            flushScheduled_ = true;
            std::weak_ptr<int> alive = alive_;
            daemon_->after(kDaemonDelay, [this, alive] {
                if (alive.expired()) return;
                {
                    std::lock_guard again(mutex_);
                    flushScheduled_ = false;
                }
                flushAll();
            });
        }
        if (domain == appDomain_)
            for (const auto& o : observations_)
                if (o.keyPath == key) toNotify.push_back(o);
    }
    // Called without the lock: an observer may write again or stop observing.
    for (const auto& o : toNotify) {
        {
            std::lock_guard lock(mutex_);
            bool stillRegistered = false;
            for (const auto& current : observations_) stillRegistered |= current.id == o.id;
            if (!stillRegistered) continue;
        }
        Dictionary change;
        if (o.options & kKeyValueObservingOptionNew)
            change[Value(kKeyValueChangeNewKey)] = value.isNil() ? Value::null() : value;
        o.observer->observeValueForKeyPath(key, standard_.get(), change, o.context);
    }
}

void SimPreferences::writeFromOutside(const std::string& domain, const std::string& key,
                                      const Value& value) {
    write(canonical(domain), key, value);
}

void SimPreferences::deleteFromOutside(const std::string& domain, const std::string& key) {
    write(canonical(domain), key, Value());
}

bool SimPreferences::writeLocked(const std::string& name, Domain& d) {
    auto bytes = toBinaryPlist(Value(d.values));
    if (!bytes) {
        console_.log("Preferences for " + name + " hold a value a property list cannot store; " +
                     "not written");
        return false;
    }
    const std::string file = fileForDomain(name);
    std::error_code ec = disk_.writeFile(
        file, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    if (ec) {
        console_.log("Could not write preferences file " + file + ": " + ec.message());
        return false;
    }
    d.dirty = false;
    return true;
}

bool SimPreferences::synchronizeDomain(const std::string& domain) {
    std::lock_guard lock(mutex_);
    Domain& d = domainLocked(domain);
    return !d.dirty || writeLocked(domain, d);
}

void SimPreferences::runDaemon(RunLoop& loop) {
    std::lock_guard lock(mutex_);
    daemon_ = &loop;
}

bool SimPreferences::flushAll() {
    std::lock_guard lock(mutex_);
    bool ok = true;
    for (auto& [name, d] : domains_)
        if (d.dirty) ok = writeLocked(name, d) && ok;
    return ok;
}

Value SimPreferences::persistentDomain(const std::string& domain) {
    std::lock_guard lock(mutex_);
    Domain& d = domainLocked(canonical(domain));
    if (!d.existed && d.values.empty()) return {};
    return Value(d.values);
}

Value SimPreferences::domainSnapshot(const std::string& name) {
    std::lock_guard lock(mutex_);
    return Value(domainLocked(canonical(name)).values);
}

std::vector<std::string> SimPreferences::domainNames() {
    std::lock_guard lock(mutex_);
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry :
         fs::directory_iterator(disk_.real(home_ + "/Library/Preferences"), ec)) {
        std::string file = entry.path().filename().string();
        if (file.size() > 6 && file.ends_with(".plist"))
            names.insert(file.substr(0, file.size() - 6));
    }
    for (const auto& [name, d] : domains_)
        if (d.existed || !d.values.empty()) names.insert(name);
    std::vector<std::string> out;
    for (const auto& n : names) out.push_back(n == kGlobalStem ? kGlobalDomain : n);
    return out;
}

void SimPreferences::addObserver(Object* observer, const std::string& keyPath, unsigned options,
                                 void* context) {
    if (!observer) return;
    std::lock_guard lock(mutex_);
    observations_.push_back({nextObservation_++, observer, keyPath, options, context});
}

void SimPreferences::removeObserver(Object* observer, const std::string& keyPath, void* context) {
    std::lock_guard lock(mutex_);
    // Removes the most recent matching registration, as the platform does.
    for (auto it = observations_.rbegin(); it != observations_.rend(); ++it) {
        if (it->observer == observer && it->keyPath == keyPath && it->context == context) {
            observations_.erase(std::next(it).base());
            return;
        }
    }
}

}  // namespace tidra::sim
