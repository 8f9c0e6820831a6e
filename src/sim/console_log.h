// NSLog on the simulated Mac: timestamped lines kept in memory and appended to console.log.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/console.h"
#include "sim/run_loop.h"

namespace tidra::sim {

class ConsoleLog : public Console {
  public:
    ConsoleLog(const RunLoop& clock, std::string file) : clock_(clock), file_(std::move(file)) {}
    void log(const std::string& line) override;
    // The messages alone, without timestamps.
    std::vector<std::string> lines() const;
    // Messages written since the previous call.
    std::vector<std::string> takeNew();

  private:
    const RunLoop& clock_;
    std::string file_;
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    size_t taken_ = 0;
};

}  // namespace tidra::sim
