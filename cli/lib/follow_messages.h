#pragma once

#include <string>
#include <string_view>

#include "pelorin/log_follower.h"

namespace pelorin::cli {

// What standard error says when `event` happens to the followed input `name`.
std::string FollowEventMessage(const FollowEvent& event, std::string_view name);

}  // namespace pelorin::cli
