#include "sim/interface/open_panel.h"

#include <algorithm>
#include <filesystem>

#include "platform/paths.h"
#include "text/ascii.h"

namespace tidra::sim {

namespace fs = std::filesystem;

void SimOpenPanel::setDirectoryURL(const Url& url) {
    std::lock_guard lock(mutex_);
    settings_.directory = url.path();
}
void SimOpenPanel::setPrompt(const std::string& prompt) {
    std::lock_guard lock(mutex_);
    settings_.prompt = prompt;
}
void SimOpenPanel::setCanChooseFiles(bool can) {
    std::lock_guard lock(mutex_);
    settings_.canChooseFiles = can;
}
void SimOpenPanel::setResolvesAliases(bool resolves) {
    std::lock_guard lock(mutex_);
    settings_.resolvesAliases = resolves;
}
void SimOpenPanel::setAllowedFileTypes(const std::vector<std::string>& types) {
    std::lock_guard lock(mutex_);
    settings_.allowedFileTypes = types;
}
void SimOpenPanel::setTitle(const std::string& title) {
    std::lock_guard lock(mutex_);
    settings_.title = title;
}
void SimOpenPanel::setMessage(const std::string& message) {
    std::lock_guard lock(mutex_);
    settings_.message = message;
}
void SimOpenPanel::setLevel(long level) {
    std::lock_guard lock(mutex_);
    settings_.level = level;
}

void SimOpenPanel::beginWithCompletionHandler(std::function<void(long response)> handler) {
    {
        std::lock_guard lock(mutex_);
        handler_ = std::move(handler);
    }
    owner_.shown(shared_from_this());
}

std::optional<Url> SimOpenPanel::URL() const {
    std::lock_guard lock(mutex_);
    return chosen_;
}

OpenPanelSettings SimOpenPanel::settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

std::shared_ptr<OpenPanel> OpenPanels::make() {
    auto panel = std::make_shared<SimOpenPanel>(*this);
    std::lock_guard lock(mutex_);
    std::erase_if(made_, [](const auto& p) { return p.expired(); });
    made_.push_back(panel);
    return panel;
}

void OpenPanels::shown(const std::shared_ptr<SimOpenPanel>& panel) {
    std::lock_guard lock(mutex_);
    std::erase(showing_, panel);
    showing_.push_back(panel);
}

std::shared_ptr<SimOpenPanel> OpenPanels::front() const {
    std::lock_guard lock(mutex_);
    return showing_.empty() ? nullptr : showing_.back();
}

size_t OpenPanels::showing() const {
    std::lock_guard lock(mutex_);
    return showing_.size();
}

std::optional<std::string> OpenPanels::choose(const std::string& macPath) {
    return answer(kModalResponseOK, macPath);
}

std::optional<std::string> OpenPanels::cancel() {
    return answer(0, std::nullopt);
}

std::optional<std::string> OpenPanels::answer(long response,
                                              const std::optional<std::string>& macPath) {
    std::shared_ptr<SimOpenPanel> panel = front();
    if (!panel) return "no open panel is showing";
    std::optional<Url> chosen;
    if (macPath) {
        const std::string path = paths::standardize(*macPath, disk_.home());
        const OpenPanelSettings s = panel->settings();
        std::error_code ec;
        const fs::path real = disk_.real(path);
        if (!fs::exists(real, ec)) return "no such file: " + path;
        // The panel greys out what it would not accept: folders, and files of other types. A
        // package (an application, a bundle) is one item to it, as to Finder.
        const std::string extension = asciiLower(paths::pathExtension(path));
        const bool package = extension == "app" || extension == "bundle" || extension == "pkg";
        if ((fs::is_directory(real, ec) && !package) || !s.canChooseFiles)
            return "the panel does not accept folders: " + path;
        if (!s.allowedFileTypes.empty()) {
            bool allowed =
                std::any_of(s.allowedFileTypes.begin(), s.allowedFileTypes.end(),
                            [&](const std::string& t) { return asciiLower(t) == extension; });
            if (!allowed) {
                std::string types;
                for (const auto& t : s.allowedFileTypes) types += (types.empty() ? "" : ", ") + t;
                return "the panel does not accept this type of file: " + path + " (it takes " +
                       types + ")";
            }
        }
        // The panel hands back the item the user picked, spelt as the disk holds it.
        chosen = Url::fileURLWithPath(disk_.spelled(path));
    }
    std::function<void(long)> handler;
    {
        std::lock_guard lock(panel->mutex_);
        panel->chosen_ = chosen;
        // Handed over rather than kept: the handler may hold the panel itself.
        handler = std::move(panel->handler_);
        panel->handler_ = nullptr;
    }
    {
        std::lock_guard lock(mutex_);
        std::erase(showing_, panel);
    }
    if (handler) loop_.post([handler, response] { handler(response); }, owner_);
    return std::nullopt;
}

void OpenPanels::dismissAll() {
    std::vector<std::shared_ptr<SimOpenPanel>> closing;
    {
        std::lock_guard lock(mutex_);
        closing.swap(showing_);
    }
    for (const auto& panel : closing) {
        std::lock_guard lock(panel->mutex_);
        panel->handler_ = nullptr;
    }
}

}  // namespace tidra::sim
