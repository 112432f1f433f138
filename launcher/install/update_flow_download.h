// The launcher's one main download at a time (the new launcher, the client
// archive or the update archive): starting it through the daemon, knowing its
// identifiers, and telling the user when it cannot be had.
#pragma once

#include <atomic>
#include <string>
#include <vector>

// Set when the current main download failed; the flow waiting for it stops.
extern std::atomic<bool> MainDownloadFailed;

// Starts url (UTF-8) into the program folder as DownloadFileName with
// DownloadThreads connections, after the caller set the flags that the
// completion reads. An empty url is never handed to the daemon. False, after
// the failure is shown (ShowDownloadFailure), when the url is empty or the
// daemon gave no identifier. Runs on a flow thread.
bool StartMainDownload(const std::string& url);

// The "gid" of a daemon notification text; empty when it has none.
std::string NotificationGid(const std::string& text);

// True once for a gid of the current main download: the first completion or
// error notice of it claims it, later notices and other downloads' gids
// (add-on packages, earlier downloads) do not. A notice that arrives while
// the download is still being started waits until the start has recorded its
// identifiers.
bool ClaimCurrentDownloadGid(const std::string& gid);

// Makes gids the current main download's, unclaimed (StartMainDownload does
// this once the daemon has answered).
void SetCurrentDownloadGids(const std::vector<std::string>& gids);

// The updater window leaves its download display: pause button hidden, the
// image beside it back in place, the progress refresh stopped.
void EndDownloadDisplay();

// Shows in the status line and in a message box that DownloadFileName could
// not be downloaded, and sets MainDownloadFailed; the user then quits with the
// window's buttons. Blocks until the box is closed.
void ShowDownloadFailure();

// Thread routine of the daemon's "aria2.onDownloadError" for the current
// download; registered by StartMainDownload.
void OnDownloadError(const std::string& text);
