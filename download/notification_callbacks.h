// The daemon's six notification names and the routine registered for each.
// Download-starting threads write the slots and the notification receive
// thread reads them; each slot is one routine reference, written and read
// whole, so no lock is needed.
#pragma once

#include <atomic>
#include <string>

// Receives the notification text: a JSON array holding the notification.
// Runs on the notification receive thread; must not throw.
using NotificationCallback = void (*)(const std::string& text);

constexpr int kNotificationSlots = 6;

// Slot order: "aria2.onDownloadStart", "aria2.onDownloadPause",
// "aria2.onDownloadStop", "aria2.onDownloadComplete", "aria2.onDownloadError",
// "aria2.onBtDownloadComplete".
extern std::atomic<NotificationCallback> NotificationCallbacks[kNotificationSlots];

// Slot index of a notification name (exact, case-sensitive); -1 for none.
int NotificationSlot(const std::string& name);
