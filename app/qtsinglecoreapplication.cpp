#include "qtsinglecoreapplication.h"

#include "applog.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <unistd.h>
#endif

namespace {

QString userIdentity()
{
#ifdef Q_OS_WIN
    wchar_t name[257];
    DWORD size = 257;
    if (GetUserNameW(name, &size))
        return QString::fromWCharArray(name);
    return qEnvironmentVariable("USERNAME");
#else
    return QString::number(getuid());
#endif
}

} // namespace

QtSingleCoreApplication::QtSingleCoreApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{}

QtSingleCoreApplication::~QtSingleCoreApplication() = default;

QString QtSingleCoreApplication::lockFilePath(const QString &applicationFilePath)
{
    QString path = QDir::cleanPath(applicationFilePath);
#ifdef Q_OS_WIN
    path = path.toLower();
#endif
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
#ifndef Q_OS_WIN
    // The user's runtime folder (mode 0700): no other user can put a file where the lock goes. Qt makes one
    // in the temporary folder, private to the user, when the session has none.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return runtime + QStringLiteral("/vesk-config-%1.lock").arg(hash);
    qCDebug(lcSingle) << "no runtime folder: the lock goes to the temporary folder";
#endif
    // Windows' temporary folder is the user's own.
    return QDir::tempPath() + QStringLiteral("/vesk-config-%1-%2.lock").arg(userIdentity(), hash);
}

bool QtSingleCoreApplication::isRunning()
{
    if (m_checked)
        return m_running;
    m_checked = true;

    m_lock = std::make_unique<QLockFile>(lockFilePath(applicationFilePath()));
    // The lock is held as long as this process lives; 0 means it never goes stale while its owner is alive.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        m_running = false;
        return false;
    }
    if (m_lock->error() == QLockFile::LockFailedError) {
        qCDebug(lcSingle) << "another copy is running";
        m_running = true;
    } else {
        // The lock cannot even be created (no temp folder): one copy is better than none.
        qCWarning(lcSingle) << "single-instance lock unavailable:" << m_lock->fileName();
        m_running = false;
    }
    return m_running;
}
