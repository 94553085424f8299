// gameFolder.cpp -- the Linux side of gameFolder.h: the game stays in the folder it was started in.
#include "shell/gameFolder.h"

void enterGameFolder() {}
