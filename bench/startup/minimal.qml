import QtQuick

// The baseline: the smallest scene a QQuickWidget window can show.
Rectangle {
    width: 1000
    height: 600
    color: "#141A22"
}
