#pragma once

#include <QMap>
#include <QString>

// The display names of key codes, from name to code: USB keyboard usages (0x04-0xE7) and the mouse buttons
// (0xF0-0xF4). Macro lines store keys by these names, so the scene's KeyCodeString must hold exactly the same
// pairs. Names are compared exactly: case and spaces count ("KP 7 " keeps its trailing space).
extern QMap<QString, uchar> keyNameMap;

// Empties keyNameMap and fills it with all 132 names.
void buildKeyNameMap();
