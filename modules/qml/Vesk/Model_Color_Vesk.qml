import QtQuick

// Work in progress.
Item {
}
