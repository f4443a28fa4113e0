#pragma once

#include <QLoggingCategory>

// The window, its controller, start-up and the single-instance guard.
Q_DECLARE_LOGGING_CATEGORY(lcMain)
Q_DECLARE_LOGGING_CATEGORY(lcWidget)
Q_DECLARE_LOGGING_CATEGORY(lcControler)
Q_DECLARE_LOGGING_CATEGORY(lcSingle)
Q_DECLARE_LOGGING_CATEGORY(lcGraphicsApi)
