#pragma once

#include <QLoggingCategory>

// Everything the scene asks of the program that goes wrong or is refused is said here.
Q_DECLARE_LOGGING_CATEGORY(lcView)
