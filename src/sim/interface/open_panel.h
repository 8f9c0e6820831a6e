// NSOpenPanel on the simulated Mac. A panel shows without blocking and waits for the user, who
// answers the frontmost one through the front end; the completion handler then runs on the main
// queue.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/panels.h"
#include "sim/disk.h"
#include "sim/run_loop.h"

namespace tidra::sim {

class OpenPanels;

struct OpenPanelSettings {
    std::string prompt;
    std::string title;
    std::string message;
    std::vector<std::string> allowedFileTypes;  // empty: any file
    std::optional<std::string> directory;       // Mac path; nothing: the platform's default
    long level = 0;
    bool canChooseFiles = true;
    bool resolvesAliases = true;
};

class SimOpenPanel : public OpenPanel, public std::enable_shared_from_this<SimOpenPanel> {
  public:
    explicit SimOpenPanel(OpenPanels& owner) : owner_(owner) {}

    void setDirectoryURL(const Url& url) override;
    void setPrompt(const std::string& prompt) override;
    void setCanChooseFiles(bool can) override;
    void setResolvesAliases(bool resolves) override;
    void setAllowedFileTypes(const std::vector<std::string>& types) override;
    void setTitle(const std::string& title) override;
    void setMessage(const std::string& message) override;
    void setLevel(long level) override;
    void beginWithCompletionHandler(std::function<void(long response)> handler) override;
    std::optional<Url> URL() const override;

    OpenPanelSettings settings() const;

  private:
    friend class OpenPanels;
    OpenPanels& owner_;
    mutable std::mutex mutex_;
    OpenPanelSettings settings_;
    std::optional<Url> chosen_;
    std::function<void(long)> handler_;
};

// Every panel Tidra made, and the ones on screen waiting for an answer. The Ui's makeOpenPanel
// hands out make().
class OpenPanels {
  public:
    OpenPanels(RunLoop& loop, const Disk& disk) : loop_(loop), disk_(disk) {}

    std::shared_ptr<OpenPanel> make();

    // The panel the user sees on top (the last one shown), or nothing.
    std::shared_ptr<SimOpenPanel> front() const;
    size_t showing() const;
    // Confirms the front panel with a file (a Mac path, "~" allowed). The error text when there
    // is no panel or the panel would not accept that file; the panel then stays open.
    std::optional<std::string> choose(const std::string& macPath);
    // Dismisses the front panel with the cancel response.
    std::optional<std::string> cancel();
    // Closes every panel without an answer, as when the process that showed them ends.
    void dismissAll();

    // Handlers run on the main queue with this owner (a process identifier).
    void setOwner(int pid) { owner_ = pid; }

  private:
    friend class SimOpenPanel;
    void shown(const std::shared_ptr<SimOpenPanel>& panel);
    std::optional<std::string> answer(long response, const std::optional<std::string>& macPath);

    RunLoop& loop_;
    const Disk& disk_;
    mutable std::mutex mutex_;
    std::vector<std::weak_ptr<SimOpenPanel>> made_;
    std::vector<std::shared_ptr<SimOpenPanel>> showing_;
    int owner_ = 0;
};

}  // namespace tidra::sim
