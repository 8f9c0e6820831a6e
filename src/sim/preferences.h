// The simulated Mac's preference store (cfprefsd and NSUserDefaults): one in-memory state per
// domain, backed by "<domain>.plist" binary property lists in the user's Preferences folder.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/defaults.h"
#include "sim/disk.h"
#include "sim/run_loop.h"

namespace tidra::sim {

class SimPreferences : public Preferences {
  public:
    // `disk`: where the preference files lie, in the user's Preferences folder (a domain given
    // as a path names a file of its own on the disk). `appDomain`: the standard store's domain.
    SimPreferences(const Disk& disk, std::string appDomain, Console& console);
    ~SimPreferences() override;
    SimPreferences(const SimPreferences&) = delete;
    SimPreferences& operator=(const SimPreferences&) = delete;

    UserDefaults& standardUserDefaults() override;
    // Nothing for a suite switched off with setSuiteAvailable.
    std::shared_ptr<UserDefaults> suite(const std::string& name) override;

    // Front-end controls.
    void setSuiteAvailable(const std::string& name, bool available);
    // Another process writing or deleting a key (as `defaults write` does): observers see it.
    void writeFromOutside(const std::string& domain, const std::string& key, const Value& value);
    void deleteFromOutside(const std::string& domain, const std::string& key);
    // Persists every domain with unwritten changes. Answers whether all of them were written.
    bool flushAll();
    // From now on every change reaches the disk by itself shortly after it is made (within a
    // second of the loop's clock), synchronised or not, as the preferences daemon writes it.
    void runDaemon(RunLoop& loop);

    // The domain's contents as a dictionary (empty when it has none).
    Value domainSnapshot(const std::string& name);
    // Domains with a file on disk or contents in memory; the global one as NSGlobalDomain.
    std::vector<std::string> domainNames();
    // The file backing a domain, as a Mac path.
    std::string fileForDomain(const std::string& name) const;

  private:
    class Store;
    struct Domain {
        Dictionary values;
        bool dirty = false;
        bool existed = false;  // a file was read, or something was written
    };
    struct Observation {
        std::uint64_t id;
        Object* observer;
        std::string keyPath;
        unsigned options;
        void* context;
    };

    // "NSGlobalDomain" and "-g" name the global domain's file stem.
    static std::string canonical(const std::string& name);
    Domain& domainLocked(const std::string& canonicalName);
    void load(const std::string& canonicalName, Domain& d);
    bool writeLocked(const std::string& canonicalName, Domain& d);

    Value read(const std::string& domain, const std::string& key);
    // Every change funnels through here so observers of the standard store see all of them.
    void write(const std::string& domain, const std::string& key, const Value& value);
    bool synchronizeDomain(const std::string& domain);
    Value persistentDomain(const std::string& domain);
    void addObserver(Object* observer, const std::string& keyPath, unsigned options, void* context);
    void removeObserver(Object* observer, const std::string& keyPath, void* context);

    const Disk& disk_;
    std::string home_;
    std::string appDomain_;
    Console& console_;
    std::recursive_mutex mutex_;
    std::map<std::string, Domain> domains_;
    std::set<std::string> unavailable_;
    std::vector<Observation> observations_;
    std::uint64_t nextObservation_ = 1;
    std::unique_ptr<Store> standard_;
    RunLoop* daemon_ = nullptr;
    bool flushScheduled_ = false;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace tidra::sim
