// Starting the game from the page: "FiveM.exe" of the FiveM folder through
// the command interpreter with "+connect" and the server address. LaunchGame
// itself (the startGame worker) is declared with the page actions.
#pragma once

#include <string>

// True when address may stand unquoted on the interpreter's command line:
// none of the bytes the interpreter acts on ("&|<>^%\"()!") and no control
// bytes. Anything else passes as the page sent it: a join link with "/", or
// a blank, after which the game gets the rest as a second argument.
bool IsServerAddress(const std::string& address);

// startGame's worker for address, one start at a time: from here until the
// worker has looked for the started game, the process list does not show it
// yet, so a further start shows the page's "FiveM 已经在运行中" dialog and
// starts nothing. UI thread.
void StartGameOnce(const std::string& address);

// The command line that starts the game: cmd /c, then in one pair of quotes
// the quoted path of FiveM.exe in fiveMFolder, "+connect" and the address.
std::string GameCommandLine(const std::string& fiveMFolder, const std::string& address);
