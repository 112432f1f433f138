// The game watch: while the game runs the launcher waits in the tray; when
// the game has ended it comes back in front and, if the game's last log
// names a crash of this run, hands the crash hash to the page.
// WatchGameExit itself (时钟2's tick) is declared with the page actions.
#pragma once

#include <string>

// Notes that the game is being started now. A crash log written before this
// belongs to an earlier run and is not shown. Any thread.
void NoteGameStart();

// The crash hash of the last "*.log" of FiveMFolder + "\FiveM.app\logs\" (the
// last entry one listing pass returns): the text between "Legacy crash
// hash: " and the next CR LF, without line breaks. Empty when there is no
// such log, no prefix, no CR LF within 9999 bytes of it, or the log was
// written before the noted game start.
std::string ReadCrashHash();

// text without any carriage return or line feed.
std::string StripLineBreaks(const std::string& text);
