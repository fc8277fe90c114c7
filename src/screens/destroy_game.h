// Ends the current game: the worker thread stops, the dialogs opened over
// the game close and the map screen with its panels goes, all while the
// world they point into still exists; then the world goes, and the textures
// of table entries 3 to 18 (entries 0 to 2 stay loaded).
#pragma once

void DestroyGame();
