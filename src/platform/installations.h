#pragma once

#include <string>
#include <vector>

// Where a player's game installations are on a system without the Windows folder chooser:
// the folders of the user's Steam libraries and Wine prefixes that hold the game's
// executable. Only fixed places and a few folder levels are looked at, so it takes well
// under a second on a full home folder.

// The folders that hold a file named `exeName` (in any case), each ending in '/', each
// once, in this order:
// - the Steam libraries of the roots ~/.steam/steam, ~/.local/share/Steam and the Flatpak
//   ~/.var/app/com.valvesoftware.Steam/.local/share/Steam, each root itself first and then
//   the libraries its libraryfolders.vdf names: each game folder steamapps/common/*/;
// - the Wine prefixes `winePrefix`, ~/.wine and every folder in ~/Games and in
//   ~/.local/share/bottles/bottles: in drive_c/Program Files, drive_c/Program Files (x86)
//   and drive_c/Games, the folders one to three levels down.
// Within a folder, names go in byte order. `home` or `winePrefix` may be empty for none;
// a place reached twice (through a link, or named twice) is searched once.
std::vector<std::string> findInstallations(const std::string& home, const std::string& winePrefix,
                                           const std::string& exeName);
