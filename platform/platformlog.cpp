#include "platformlog.h"

Q_LOGGING_CATEGORY(lcCopyData, "vesk.platform.copydata")
Q_LOGGING_CATEGORY(lcDeviceChange, "vesk.platform.devicechange")
Q_LOGGING_CATEGORY(lcHidAccess, "vesk.platform.hidaccess")
Q_LOGGING_CATEGORY(lcInputHook, "vesk.platform.inputhook")
Q_LOGGING_CATEGORY(lcPointer, "vesk.platform.pointer")
Q_LOGGING_CATEGORY(lcSceneBackend, "vesk.platform.scenebackend")
