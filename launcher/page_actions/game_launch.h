// Starting the game from the page: "FiveM.exe" of the FiveM folder through
// the command interpreter with "+connect" and the server address. LaunchGame
// itself (the startGame worker) is declared with the page actions.
#pragma once

#include <string>

// True when address may stand unquoted on the interpreter's command line:
// letters, digits and ".:-_[]" only (a host name, an IPv4 or bracketed IPv6
// address, a port), or the empty text. "&", "|", "<", ">", "^", quotes and
// blanks would let the interpreter run or redirect more than the game.
bool IsServerAddress(const std::string& address);

// The command line that starts the game: cmd /c, then in one pair of quotes
// the quoted path of FiveM.exe in fiveMFolder, "+connect" and the address.
std::string GameCommandLine(const std::string& fiveMFolder, const std::string& address);
