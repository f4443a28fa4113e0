// skingen: draws the skin pictures of the scene.
//
//   skingen <output folder>                      writes every picture below the folder (PNG with alpha), as
//                                                name.png and, drawn at twice the density, name@2x.png
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
#include <vector>

Q_LOGGING_CATEGORY(lcSkin, "vesk.skin", QtInfoMsg)

namespace {

// The scene's pixels, and a HiDPI screen's twice as dense.
const int kPixelRatios[] = {1, 2};

PictureList drawSkin(int ratio)
{
    paint::setPixelRatio(ratio);
    PictureList pictures;
    addFramePictures(pictures);
    addMenuPictures(pictures);
    addPagePictures(pictures);
    addCommonPictures(pictures);
    addToolIcons(pictures);
    addModelPictures(pictures);
    addGunPictures(pictures);
    paint::setPixelRatio(1);
    return pictures;
}

// Every denser run must draw the same pictures, in the same order, at exactly `ratio` times the size: the
// scene lays a picture out by its size in scene pixels, whichever file Qt loads.
bool matchesBase(const PictureList &base, const PictureList &dense, int ratio)
{
    if (dense.size() != base.size()) {
        qCCritical(lcSkin) << "ratio" << ratio << "drew" << dense.size() << "pictures, ratio 1 drew"
                           << base.size();
        return false;
    }
    for (size_t i = 0; i < base.size(); ++i) {
        if (dense[i].path != base[i].path || dense[i].image.size() != base[i].image.size() * ratio) {
            qCCritical(lcSkin) << "ratio" << ratio << "drew" << dense[i].path << dense[i].image.size()
                               << "for" << base[i].path << base[i].image.size();
            return false;
        }
    }
    return true;
}

bool namesUnique(const PictureList &pictures)
{
    QSet<QString> seen;
    for (const Picture &picture : pictures) {
        if (seen.contains(picture.path)) {
            qCCritical(lcSkin) << "two pictures share the name" << picture.path;
            return false;
        }
        seen.insert(picture.path);
    }
    return true;
}

bool writePictures(const PictureList &pictures, int ratio, const QDir &root)
{
    for (const Picture &picture : pictures) {
        const QString file = root.filePath(pictureFile(picture.path, ratio));
        if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
            qCCritical(lcSkin) << "cannot create the folder of" << file;
            return false;
        }
        QImageWriter writer(file, "png");
        if (!writer.write(picture.image)) {
            qCCritical(lcSkin) << "cannot write" << file << writer.errorString();
            return false;
        }
    }
    return true;
}

int writeSkin(const QString &folder)
{
    // Everything is drawn and checked before the first file is written: a skin drawn wrongly writes nothing.
    std::vector<PictureList> runs;
    for (const int ratio : kPixelRatios) {
        runs.push_back(drawSkin(ratio));
        if (!matchesBase(runs.front(), runs.back(), ratio))
            return 1;
    }
    if (!namesUnique(runs.front()))
        return 1;
    const QDir root(folder);
    for (size_t i = 0; i < runs.size(); ++i) {
        if (!writePictures(runs[i], kPixelRatios[i], root))
            return 1;
    }
    std::printf("%d pictures written to %s, each at %d pixel ratios\n", int(runs.front().size()),
                qPrintable(QDir::toNativeSeparators(folder)), int(runs.size()));
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
