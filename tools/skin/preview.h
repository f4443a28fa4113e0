#pragma once

#include <QString>

// Composes mock screens of the scene and contact sheets from the pictures in `skinFolder` into `outFolder`,
// so that a restyled skin can be judged as a whole. Returns the process exit code.
int runPreview(int argc, char **argv, const QString &skinFolder, const QString &outFolder);
