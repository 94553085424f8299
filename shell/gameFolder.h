// gameFolder.h -- the folder the game runs in, from which it reads ./assets/. One file per
// platform: gameFolder.cpp (Linux), gameFolderWindows.cpp.
#pragma once

// The first step of start-up. On Linux the game reads ./assets/ from the folder it was started in,
// as it always has (the Debian package's launcher changes to its data folder first), and this does
// nothing. On Windows a player starts kaiva.exe from anywhere (a double click, a shortcut, a
// command prompt elsewhere), and its assets/ lies beside it: this makes the executable's own folder
// the current one.
void enterGameFolder();
