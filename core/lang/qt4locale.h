#pragma once

#include <QString>

// English names of Qt 4's QLocale language and country numbers, the numbering of the language files' codes
// (Qt 6 numbers them differently). Words are separated ("United States"); a number Qt 4 did not know is
// "Unknown".
QString qt4LanguageName(int language);
QString qt4CountryName(int country);
