#pragma once

#include <QLoggingCategory>

// The stores log under "vesk.view", the name they had while the view held them, so that the rules users
// write (QT_LOGGING_RULES="vesk.view.debug=true") keep showing them.
Q_DECLARE_LOGGING_CATEGORY(lcStore)
Q_DECLARE_LOGGING_CATEGORY(lcRunFolder)
