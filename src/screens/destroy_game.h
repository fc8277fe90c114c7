// Ends the current game: the world goes (and with it the worker thread),
// then the textures of table entries 3 to 18; entries 0 to 2 stay loaded.
#pragma once

void DestroyGame();
