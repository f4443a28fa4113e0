#include "myqquickview.h"

#include <QFileDialog>
#include <QStandardPaths>

// Every dialog the view shows goes through one of these, so that a test can answer in the user's place.

QString myQQuickView::askOpenFileName(const QString &caption, const QString &directory, const QString &filter)
{
    return QFileDialog::getOpenFileName(this, caption, directory, filter);
}

QString myQQuickView::askSaveFileName(const QString &caption, const QString &directory, const QString &filter)
{
    return QFileDialog::getSaveFileName(this, caption, directory, filter);
}

QMessageBox::StandardButton myQQuickView::askWarning(const QString &title, const QString &text,
                                                     QMessageBox::StandardButtons buttons,
                                                     QMessageBox::StandardButton defaultButton)
{
    return QMessageBox::warning(nullptr, title, text, buttons, defaultButton);
}

QString myQQuickView::desktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}
