// System-wide hot keys on the simulated Mac: who holds which combination, and what a press of
// one does. Registrations are exclusive, as Tidra asks for them, and die with their process.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/hot_keys.h"
#include "sim/run_loop.h"

namespace tidra::sim {

class SimHotKeys : public HotKeys {
  public:
    explicit SimHotKeys(RunLoop& loop) : loop_(loop) {}
    SimHotKeys(const SimHotKeys&) = delete;
    SimHotKeys& operator=(const SimHotKeys&) = delete;
    ~SimHotKeys() override;

    std::unique_ptr<HotKey> registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                           std::function<void()> pressed, int& status) override;

    // The process that registers from now on (Tidra's, while it runs).
    void setOwner(int pid) { owner_ = pid; }
    // A process has ended: its hot keys go with it, as the system drops them.
    void dropOwner(int pid);
    // Another application holds the combination exclusively from now on.
    void takeByOtherApplication(std::uint32_t keyCode, std::uint32_t modifiers);
    // A press anywhere: the holder's handler runs on the main thread. Answers the holder's
    // process identifier (kOtherApplication for `takeByOtherApplication`), or 0 for nobody.
    int press(std::uint32_t keyCode, std::uint32_t modifiers);
    static constexpr int kOtherApplication = -1;
    int registeredBy(int pid) const;
    // The combinations a process holds (key code, Carbon modifiers), oldest first.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> heldBy(int pid) const;

  private:
    struct Entry {
        std::uint64_t id;
        std::uint32_t keyCode, modifiers;
        int owner;
        std::function<void()> pressed;
    };
    class Registration;
    void unregister(std::uint64_t id);

    RunLoop& loop_;
    int owner_ = 0;
    std::uint64_t nextId_ = 1;
    std::vector<Entry> entries_;
    // Registrations still alive point here; it is cleared when the registry goes first.
    std::shared_ptr<SimHotKeys*> self_ = std::make_shared<SimHotKeys*>(this);
};

}  // namespace tidra::sim
