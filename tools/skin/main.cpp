// skingen: draws the skin pictures of the scene.
//
//   skingen <output folder>                      writes every picture below the folder (PNG with alpha)
//   skingen --preview <skin folder> <out folder> composes mock screens and contact sheets from a skin

#include "preview.h"
#include "skin.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QLoggingCategory>
#include <QSet>

#include <cstdio>

Q_LOGGING_CATEGORY(lcSkin, "vesk.skin", QtInfoMsg)

namespace {

PictureList drawSkin()
{
    PictureList pictures;
    addFramePictures(pictures);
    addMenuPictures(pictures);
    addPagePictures(pictures);
    addCommonPictures(pictures);
    addToolIcons(pictures);
    addModelPictures(pictures);
    addGunPictures(pictures);
    return pictures;
}

int writeSkin(const QString &folder)
{
    const PictureList pictures = drawSkin();
    QSet<QString> seen;
    QDir root(folder);
    for (const Picture &picture : pictures) {
        if (seen.contains(picture.path)) {
            qCCritical(lcSkin) << "two pictures share the name" << picture.path;
            return 1;
        }
        seen.insert(picture.path);
        const QString file = root.filePath(picture.path + QLatin1String(".png"));
        if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
            qCCritical(lcSkin) << "cannot create the folder of" << file;
            return 1;
        }
        QImageWriter writer(file, "png");
        if (!writer.write(picture.image)) {
            qCCritical(lcSkin) << "cannot write" << file << writer.errorString();
            return 1;
        }
    }
    std::printf("%d pictures written to %s\n", int(pictures.size()),
                qPrintable(QDir::toNativeSeparators(folder)));
    return 0;
}

void usage()
{
    std::fprintf(stderr, "usage: skingen <output folder>\n"
                         "       skingen --preview <skin folder> <output folder>\n");
}

} // namespace

int main(int argc, char **argv)
{
    // Drawing needs no display; only the preview's captions need fonts, and the offscreen platform has them.
    if (argc >= 2 && QLatin1String(argv[1]) == QLatin1String("--preview")) {
        if (argc != 4) {
            usage();
            return 2;
        }
        return runPreview(argc, argv, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    QCoreApplication app(argc, argv);
    if (argc != 2 || QLatin1String(argv[1]).startsWith(QLatin1Char('-'))) {
        usage();
        return 2;
    }
    return writeSkin(QString::fromLocal8Bit(argv[1]));
}
