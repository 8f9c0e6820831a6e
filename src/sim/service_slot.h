// A platform service of the simulated Mac that a test may replace by one of its own, so that each
// service can be simulated on its own. The Mac's own implementation lives as long as the slot:
// the Mac keeps working with it (its screens' pictures, its file manager's rules) whatever Tidra
// is given, so no reference to it can outlive it.
#pragma once

#include <memory>
#include <utility>
#include <vector>

namespace tidra::sim {

template <class Service, class Own>
class ServiceSlot {
  public:
    // The Mac's own, made once the disk and clock it needs are ready.
    void fill(std::unique_ptr<Own> own) { own_ = std::move(own); }

    // What Tidra is given: the replacement when there is one, else the Mac's own.
    Service& get() const { return current_ ? *current_ : *own_; }
    Own& own() const { return *own_; }

    // A null replacement puts the Mac's own back. A launched Tidra keeps references to the
    // service it was given, so an earlier replacement is kept until the slot goes rather than
    // destroyed here.
    void replace(std::unique_ptr<Service> replacement) {
        if (current_) retired_.push_back(std::move(current_));
        current_ = std::move(replacement);
    }

  private:
    std::unique_ptr<Own> own_;
    std::unique_ptr<Service> current_;
    std::vector<std::unique_ptr<Service>> retired_;
};

}  // namespace tidra::sim
