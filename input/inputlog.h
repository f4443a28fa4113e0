#pragma once

#include <QLoggingCategory>

// Global key capture.
Q_DECLARE_LOGGING_CATEGORY(lcInput)
