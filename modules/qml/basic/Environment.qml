import QtQuick

// The backdrop: the user's own picture when one is chosen and readable, else the skin's, with the frame's
// rim and wells over it. The window-sized pictures are decoded beside the building of the frame's parts, once
// the first frame is on screen (root.skinImage): the backdrop fades in from nothing with the opening, and they
// are ready long before it shows.
Item {
    id: environment

    // "file:" followed by a local path, as the configuration stores it, made into a URL that survives
    // characters such as '#' or '%' in the path.
    function pictureUrl(source) {
        const text = String(source)
        if (!text.startsWith("file:"))
            return text
        const path = text.substring(5)
        return "file:" + path.split("/").map(segment => encodeURIComponent(segment)
                                                                .replace(/%3A/g, ":")).join("/")
    }

    width: 1000
    height: 600

    Image {
        source: root.skinImage("background")
        asynchronous: true
    }

    // Scaled while it loads: a photograph of any size costs no more than the window it fills.
    Image {
        objectName: "customBackground"
        anchors.fill: parent
        visible: status === Image.Ready
        source: root.partsBuilt && root.isCustomBackground && root.sourceCustomBackground !== ""
                ? environment.pictureUrl(root.sourceCustomBackground) : ""
        sourceSize.width: environment.width
        sourceSize.height: environment.height
        fillMode: Image.PreserveAspectCrop
        asynchronous: true
    }

    Image {
        source: root.skinImage("frame/frameBackground")
        asynchronous: true
    }
}
