#pragma once

#include <QApplication>

#include <memory>

class QLockFile;

// The program's application object: one running copy per executable and user. The first copy holds a lock
// file for its whole life; isRunning() tells a later copy that it must go away. A copy that crashed leaves a
// lock whose process is gone, which the next start takes over.
class QtSingleCoreApplication : public QApplication
{
    Q_OBJECT

public:
    QtSingleCoreApplication(int &argc, char **argv);
    ~QtSingleCoreApplication() override;

    bool isRunning();

    // The lock that identifies a copy: derived from the executable's path, in a folder of the user's own
    // (the runtime folder on Linux, the temporary folder on Windows).
    static QString lockFilePath(const QString &applicationFilePath);

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_checked = false;
    bool m_running = false;
};
