#include "download/notification_callbacks.h"

namespace {

// In slot order.
const char* const kNotificationNames[kNotificationSlots] = {
    "aria2.onDownloadStart",    "aria2.onDownloadPause", "aria2.onDownloadStop",
    "aria2.onDownloadComplete", "aria2.onDownloadError", "aria2.onBtDownloadComplete",
};

}  // namespace

std::atomic<NotificationCallback> NotificationCallbacks[kNotificationSlots] = {};

int NotificationSlot(const std::string& name) {
    for (int i = 0; i < kNotificationSlots; ++i)
        if (name == kNotificationNames[i]) return i;
    return -1;
}
