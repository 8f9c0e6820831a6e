#include "sim/console_log.h"

#include <cstdio>
#include <fstream>

namespace tidra::sim {

void ConsoleLog::log(const std::string& line) {
    std::lock_guard lock(mutex_);
    lines_.push_back(line);
    if (file_.empty()) return;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "[%10.3f] ", clock_.now());
    std::ofstream out(file_, std::ios::app);
    out << stamp << "Tidra: " << line << '\n';
}

std::vector<std::string> ConsoleLog::lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

std::vector<std::string> ConsoleLog::takeNew() {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out(lines_.begin() + long(taken_), lines_.end());
    taken_ = lines_.size();
    return out;
}

}  // namespace tidra::sim
