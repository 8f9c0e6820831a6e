// One NSTask with its output pipe.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/tasks.h"

namespace tidra::mac {

std::unique_ptr<Task> makeTask(const std::string& launchPath,
                               const std::vector<std::string>& arguments);

}  // namespace tidra::mac
