#pragma once

#include <QLoggingCategory>

// One category per service of the operating system.
Q_DECLARE_LOGGING_CATEGORY(lcCopyData)
Q_DECLARE_LOGGING_CATEGORY(lcDeviceChange)
Q_DECLARE_LOGGING_CATEGORY(lcHidAccess)
Q_DECLARE_LOGGING_CATEGORY(lcInputHook)
Q_DECLARE_LOGGING_CATEGORY(lcPointer)
Q_DECLARE_LOGGING_CATEGORY(lcSceneBackend)
