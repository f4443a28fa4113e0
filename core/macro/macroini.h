#pragma once

#include <QByteArray>
#include <QStringList>

// Byte-level care of macro files (QSettings INI text) that QSettings itself does not take: both functions
// split the text into entries exactly as QSettings does and leave every other byte as it is.

// The file without its entries whose value QSettings would decode from a data stream ("@Variant(…)",
// "@DateTime(…)", alone or inside a list): such a value may be any Qt type, of any size, and nothing a macro
// file holds is one. The keys of the dropped entries, as written, go to droppedKeys.
QByteArray iniWithoutStreamedValues(const QByteArray &ini, QStringList *droppedKeys = nullptr);

// Values with their non-ASCII characters as the \x escapes Qt 4's QSettings wrote (one per UTF-16 unit, a hex
// digit right after one escaped too): Qt 6 writes them as UTF-8, which a Qt 4 reader without a codec takes
// for Latin-1. Qt 6 reads both forms. A file whose values are not valid UTF-8 is returned unchanged.
QByteArray iniWithQt4Escapes(const QByteArray &ini);
