#include "pelorin/follow_messages.h"

namespace pelorin {
namespace {

// The texts around the name, and whether the event's error is told at the end.
struct EventText {
    FollowEventKind kind;
    std::string_view beforeName;
    std::string_view afterName;
    bool withReason;
};

constexpr EventText kTexts[] = {
    {FollowEventKind::Rotated, "", " was rotated; decoding the new file from the start", false},
    {FollowEventKind::Truncated, "", " was truncated; decoding it from the start", false},
    {FollowEventKind::Missing, "", " no longer exists; waiting for it to come back", false},
    {FollowEventKind::Unfollowable, "", " cannot be followed, waiting for a file: ", true},
    {FollowEventKind::Back, "", " is back; decoding it", false},
    {FollowEventKind::ReadFailed, "could not read ", ": ", true},
};

}  // namespace

std::string FollowEventMessage(const FollowEvent& event, std::string_view name) {
    for (const EventText& text : kTexts) {
        if (text.kind == event.kind) {
            std::string message(text.beforeName);
            message.append(name).append(text.afterName);
            if (text.withReason) {
                message.append(FollowErrorText(event.error));
            }
            return message;
        }
    }
    return std::string(name);
}

}  // namespace pelorin
