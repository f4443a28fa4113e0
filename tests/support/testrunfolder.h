#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A throw-away folder laid out like the program's own, made current for the test.
class TestRunFolder
{
public:
    explicit TestRunFolder(const QByteArray &apConfig = "[common]\nname=Vesk Test Title\n")
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("modules/setting"));
        if (!apConfig.isNull()) {
            QFile file(m_dir.filePath(QStringLiteral("modules/setting/apConfig.bin")));
            if (file.open(QIODevice::WriteOnly))
                file.write(apConfig);
        }
        m_previous = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    }
    ~TestRunFolder() { QDir::setCurrent(m_previous); }

    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};
