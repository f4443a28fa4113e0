#include "scenebackend.h"

namespace platform {

// Windows draws the scene through Direct3D, which falls back to WARP on its own where there is no GPU.
bool openGlIsSoftwareRasterised()
{
    return false;
}

} // namespace platform
