#pragma once

// Whether OpenGL on this desktop would be drawn by a software rasteriser (Mesa's llvmpipe, an X server
// without direct rendering such as Xvfb, Xvnc or a forwarded display). Cheap: no OpenGL context is made,
// the question is answered from the environment, the X server's extensions and the machine's render nodes.
// Call with the GUI application object in place.
namespace platform {

bool openGlIsSoftwareRasterised();

} // namespace platform
