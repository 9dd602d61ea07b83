#pragma once

#include <string>
#include <string_view>

#include "pelorin/log_follower.h"

namespace pelorin {

// What the user is told when `event` happens to the followed input `name`: pelorin-decode on
// standard error, the window in its status bar.
std::string FollowEventMessage(const FollowEvent& event, std::string_view name);

}  // namespace pelorin
