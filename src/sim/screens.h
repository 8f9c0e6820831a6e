// The simulated Mac's displays (NSScreen, CGDisplay reconfiguration) and the picture each one
// shows. Displays and their pictures live on the simulated disk like the window server's and
// the Dock's own records, so they survive a restart of the simulated Mac.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/screens.h"
#include "platform/system_info.h"
#include "sim/disk.h"
#include "sim/run_loop.h"

namespace tidra::sim {

// A display's identity is its name, or its serial when it reports one; a display given no name
// is anonymous and goes by "Display N".
class SimScreen : public Screen {
  public:
    SimScreen(std::optional<std::uint32_t> number, std::string name, std::string serial = "",
              bool anonymous = false)
        : number_(number),
          name_(std::move(name)),
          serial_(std::move(serial)),
          anonymous_(anonymous) {}
    Dictionary deviceDescription() const override;
    std::optional<std::uint32_t> number() const { return number_; }
    const std::string& name() const { return name_; }
    const std::string& serial() const { return serial_; }

  private:
    friend class SimScreens;
    const std::optional<std::uint32_t> number_;
    const std::string name_;
    const std::string serial_;
    const bool anonymous_;
    // Guarded by the SimScreens that owns the screen.
    std::string wallpaper_;  // Mac path
    Value options_;          // nil: the platform has none to report
    bool failing_ = false;
    bool connected_ = true;
};

class SimScreens : public Screens {
  public:
    // Where the displays and their pictures are kept.
    static constexpr const char* kStateFile =
        "/Library/Preferences/com.apple.windowserver.displays.plist";

    // A new Mac and every display connected for the first time show `system`'s default picture;
    // displays known already keep theirs across a system update, as on a Mac.
    SimScreens(RunLoop& loop, const Disk& disk, OperatingSystemVersion system = {10, 15, 0});
    // The picture a new Mac and every newly connected display shows.
    const std::string& defaultPicture() const { return defaultPicture_; }
    ~SimScreens() override;
    SimScreens(const SimScreens&) = delete;
    SimScreens& operator=(const SimScreens&) = delete;

    std::optional<std::vector<std::shared_ptr<Screen>>> screens() override;
    void registerReconfigurationCallback(DisplayReconfigurationCallback callback,
                                         void* userInfo) override;

    // The workspace's desktop-picture operations.
    std::optional<Url> desktopImageURL(const Screen& screen);
    Value desktopImageOptions(const Screen& screen);
    bool setDesktopImage(const Url& url, const Screen& screen, const Dictionary& options,
                         ErrorOut error);

    // Front-end controls; the registered callbacks hear of each change on the main thread. A
    // display plugged in again keeps its number and shows the picture it last had, as the
    // window server remembers both; a new one gets a number no display had before (from 2), or
    // none at all. Without a serial, displays of one name are told apart only while both are
    // connected. Nothing when a display of that serial is connected already.
    std::shared_ptr<SimScreen> addScreen(const std::string& name, bool numbered = true,
                                         const std::string& serial = "");
    bool removeScreen(std::uint32_t number);
    bool setFailing(std::uint32_t number, bool failing);
    // The user picking a picture in System Settings; the screen's options stay. The error
    // text when it cannot be done.
    std::optional<std::string> setPictureByHand(std::uint32_t number, const std::string& macPath);
    // What the platform will report as the screen's options (nil: none).
    bool setOptions(std::uint32_t number, const Value& options);
    // The screen list as a whole unavailable (NSScreen screens answering nil).
    void setListAvailable(bool available);
    std::shared_ptr<SimScreen> find(std::uint32_t number) const;

    struct Info {
        std::optional<std::uint32_t> number;
        std::string name;
        std::string serial;
        std::string wallpaper;  // Mac path
        Value options;
        bool failing = false;
    };
    std::vector<Info> snapshot() const;
    // Every successful picture change so far, by anyone.
    int pictureChanges() const;

    // Callbacks registered from now on belong to this process; dropOwner forgets them when the
    // process ends, as the window server does.
    void setOwner(int pid) { owner_ = pid; }
    void dropOwner(int pid);
    // Writes the state file now (it is otherwise written soon after each change).
    void flush();

  private:
    struct Callback {
        DisplayReconfigurationCallback function;
        void* userInfo;
        int owner;
    };

    const std::string defaultPicture_;
    void load();
    void populateDefault();
    void scheduleSaveLocked();
    void saveLocked();
    void announce(std::uint32_t display, std::uint32_t flags);
    std::shared_ptr<SimScreen> connectedLocked(const Screen& screen) const;
    // The unplugged display that `name` and `serial` name, taken out of the remembered ones.
    std::shared_ptr<SimScreen> takeDepartedLocked(const std::string& name,
                                                  const std::string& serial);
    bool setPicture(const Url& url, const Screen& screen, const Dictionary& options, ErrorOut error,
                    bool byUser);

    RunLoop& loop_;
    const Disk& disk_;
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<SimScreen>> screens_;
    std::vector<std::shared_ptr<SimScreen>> departed_;  // unplugged, remembered
    std::uint32_t nextNumber_ = 2;
    std::vector<Callback> callbacks_;
    bool listAvailable_ = true;
    bool savePending_ = false;
    int pictureChanges_ = 0;
    int owner_ = 0;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace tidra::sim
