#pragma once

#include <QString>

// Composes mock screens of the scene and contact sheets from the pictures in `skinFolder` into `outFolder`,
// so that a restyled skin can be judged as a whole: mock_*.png and sheet.png from the pictures in scene
// pixels, mock_*@2x.png and sheet@2x.png from their "@2x" versions. Returns the process exit code.
int runPreview(int argc, char **argv, const QString &skinFolder, const QString &outFolder);
