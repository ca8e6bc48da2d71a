// The groups mirrored into the desktop's application menu, as the freedesktop menu and
// desktop entry standards describe: per group a submenu (a menu fragment in the
// applications-merged directory and a .directory entry), per item a .desktop entry.
// All our files are named vorn-progman-*.
//
// An item's entry opens its program's file with xdg-open, on the host path that the
// files service gives the Windows path, in the item's default directory; the Windows
// command line is kept as the entry's comment. The program's file is the command line
// when that names an existing file, else the text up to the first space: further
// arguments are not passed on. An item whose file has no host
// path gets no entry. Windows texts are taken as Windows-1252 and written as UTF-8.
#pragma once

#include <string>

#include "platform/progman/groups.h"

namespace vorn::progman {

struct MenuPlaces {
  std::string applications;  // $XDG_DATA_HOME/applications
  std::string directories;   // $XDG_DATA_HOME/desktop-directories
  std::string menus;         // $XDG_CONFIG_HOME/menus/applications-merged
};

// The places for the current user; false when neither the XDG variables nor HOME say.
bool DefaultMenuPlaces(MenuPlaces* places);

// Writes the files the groups need, each replaced atomically and only when it changes,
// and removes the files of ours that no group needs any more.
bool MirrorMenu(const Groups& groups, const MenuPlaces& places, std::string* error);

}  // namespace vorn::progman
