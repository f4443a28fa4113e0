#pragma once

// Chooses the scene graph's backend before the first Qt Quick window exists (the program's and the start-up
// benchmark's baseline make the same choice). Call with the application object in place.
void chooseGraphicsApi();
