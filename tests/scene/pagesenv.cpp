#include "pagesenv.h"

#include "deviceinfo.h"
#include "programfolder.h"
#include "vmouse.h"
#include "wire.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSettings>

namespace {

class RecordingPointerSettings : public PointerSettings
{
public:
    explicit RecordingPointerSettings(PointerRecord &record)
        : m_record(record)
    {}

    bool mouseParams(MouseParams &params) override
    {
        params = m_record.params;
        return true;
    }
    bool setMouseParams(const MouseParams &params) override
    {
        m_record.params = params;
        return true;
    }
    bool setMouseSpeed(int speed) override
    {
        m_record.speed = speed;
        return true;
    }
    bool setWheelScrollLines(unsigned lines) override
    {
        m_record.lines = lines;
        return true;
    }
    bool setDoubleClickTime(unsigned milliseconds) override
    {
        m_record.doubleClickMs = milliseconds;
        return true;
    }

private:
    PointerRecord &m_record;
};

QVariantList toList(const vmouse::Block &block, std::size_t count = vmouse::kBlockLength)
{
    QVariantList list;
    for (std::size_t i = 0; i < count; ++i)
        list.append(int(block[i]));
    return list;
}

vmouse::Block toBlock(const QVariantList &list)
{
    vmouse::Block block{};
    for (int i = 0; i < list.size() && i < int(block.size()); ++i)
        block[std::size_t(i)] = std::uint8_t(list.at(i).toInt());
    return block;
}

QVariantList storedList(QSettings &store, const QString &key)
{
    QVariantList list;
    for (const QVariant &v : store.value(key).toList())
        list.append(v.toString().trimmed().toInt());
    return list;
}

} // namespace

QString PagesView::askOpenFileName(const QString &, const QString &, const QString &)
{
    ++openDialogs;
    return openAnswer;
}

QString PagesView::askSaveFileName(const QString &, const QString &, const QString &)
{
    ++saveDialogs;
    return saveAnswer;
}

QMessageBox::StandardButton PagesView::askWarning(const QString &, const QString &,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton)
{
    if (buttons & QMessageBox::Cancel) {
        ++questions;
        return confirmAnswer ? QMessageBox::Ok : QMessageBox::Cancel;
    }
    ++warnings;
    return QMessageBox::Ok;
}

PagesEnv::PagesEnv(const QString &shippedModules, QObject *parent)
    : QObject(parent)
    , m_shipped(shippedModules)
    , m_previousDir(QDir::currentPath())
{}

PagesEnv::~PagesEnv()
{
    m_view.reset();
    m_link.reset();
    m_ms.reset();
    QDir::setCurrent(m_previousDir);
}

void PagesEnv::setEngine(QQmlEngine *engine)
{
    m_engine = engine;
    if (m_engine)
        m_engine->rootContext()->setContextProperty(MouseLayout::kContextProperty, &m_layout);
    if (m_engine && m_view)
        m_engine->rootContext()->setContextProperty(QStringLiteral("ui_View"), m_view.get());
}

void PagesEnv::makeFolder()
{
    QDir::setCurrent(m_previousDir);
    m_dir = std::make_unique<QTemporaryDir>();
    const QString modules = m_dir->path() + QStringLiteral("/modules");
    for (const char *part : {"setting", "i18n", "gun"})
        copyProgramFolder(m_shipped + QLatin1Char('/') + QLatin1String(part),
                          modules + QLatin1Char('/') + QLatin1String(part));
    QDir().mkpath(modules + QStringLiteral("/macro/1"));
    QFile::link(m_shipped + QStringLiteral("/img"), modules + QStringLiteral("/img"));
    QDir::setCurrent(m_dir->path());
}

// The virtual mouse as the shipped store describes it, so that the synchronisation reads real profiles.
void PagesEnv::seedMouse()
{
    vmouse::reset();
    QSettings store(QStringLiteral("modules/setting/p_Vesk.bin"), QSettings::IniFormat);
    for (int p = 0; p < myQQuickView::ProfileCount; ++p) {
        vmouse::setProfileBlock(p, toBlock(storedList(store, QStringLiteral("profile_fw/%1").arg(p))));
        vmouse::setKeyMatrix(p, toBlock(storedList(store, QStringLiteral("matrix_fw/%1").arg(p))));
        const QVariantList other = storedList(store, QStringLiteral("other_fw/%1").arg(p));
        if (other.size() >= 3) {
            vmouse::setDpiStage(p, std::uint8_t(other.at(0).toInt()));
            vmouse::setReportRate(p, std::uint8_t(other.at(1).toInt()));
            if (p == 0)
                vmouse::setTwinkleType(std::uint8_t(other.at(2).toInt()));
        }
    }
    vmouse::setCurrentProfile(store.value(QStringLiteral("common/curProfile"), 1).toInt());
}

void PagesEnv::reset(bool connected)
{
    // The old view answers the scene until the new one takes its place.
    std::unique_ptr<PagesView> old = std::move(m_view);
    if (old)
        old->setDeviceLink(nullptr);
    m_link.reset();
    m_ms.reset();
    makeFolder();
    seedMouse();
    if (!connected)
        vmouse::setPlugged(false);
    // The mouse is seeded the same way every time, so one real reading gives the store that every later one
    // would write: later resets start from it, and their check only looks for the mouse (some 20 exchanges
    // fewer each).
    const bool synced = connected && !m_syncedStore.isEmpty();
    if (synced)
        writeFile(QStringLiteral("modules/setting/p_Vesk.bin"), QString::fromUtf8(m_syncedStore));

    m_pointer = PointerRecord();
    m_view = std::make_unique<PagesView>();
    m_view->setPointerSettings(std::make_unique<RecordingPointerSettings>(m_pointer));
    m_ms = std::make_unique<MS_HT66FB560>();
    m_link = std::make_unique<DeviceLink>(*m_ms);
    m_view->setDeviceLink(m_link.get());
    m_view->checkDevice(kSupportedModel.product.deviceListEntry, wire::virtualMouseEntry(), !synced);
    settle();
    if (connected && !synced) {
        m_view->profileStore->sync();
        m_syncedStore = readFile(QStringLiteral("modules/setting/p_Vesk.bin")).toUtf8();
    }
    vmouse::clearWireLog();
    if (m_engine)
        m_engine->rootContext()->setContextProperty(QStringLiteral("ui_View"), m_view.get());
    old.reset();
}

void PagesEnv::settle() const
{
    QDeadlineTimer deadline(30000);
    while (m_view && m_link && !deadline.hasExpired()) {
        m_link->waitUntilIdle(int(deadline.remainingTime()));
        QCoreApplication::sendPostedEvents();
        if (m_link->isIdle() && !m_view->isCheckingDevice())
            return;
    }
}

QVariantList PagesEnv::profileBlock(int profile) const
{
    settle();
    return toList(vmouse::profileBlock(profile));
}

QVariantList PagesEnv::keyMatrix(int profile) const
{
    settle();
    return toList(vmouse::keyMatrix(profile), 64);
}

QVariantList PagesEnv::macroBlock(int macroId) const
{
    settle();
    return toList(vmouse::macroBlock(macroId));
}

int PagesEnv::currentProfile() const
{
    settle();
    return vmouse::currentProfile();
}

int PagesEnv::reportRate(int profile) const
{
    settle();
    return vmouse::reportRate(profile);
}

int PagesEnv::dpiStage(int profile) const
{
    settle();
    return vmouse::dpiStage(profile);
}

int PagesEnv::twinkleType() const
{
    settle();
    return vmouse::twinkleType();
}

void PagesEnv::setTwinkleType(int type)
{
    vmouse::setTwinkleType(std::uint8_t(type));
}

QStringList PagesEnv::commands() const
{
    settle();
    QStringList opcodes;
    for (const vmouse::WireRecord &r : vmouse::wireLog()) {
        if (r.kind == vmouse::WireKind::FeatureOut && r.path == vmouse::kCommandPath && r.bytes.size() >= 2)
            opcodes.append(QStringLiteral("%1").arg(r.bytes[1], 2, 16, QLatin1Char('0')).toUpper());
    }
    return opcodes;
}

void PagesEnv::clearCommands()
{
    settle();
    vmouse::clearWireLog();
}

void PagesEnv::unplug()
{
    vmouse::setPlugged(false);
}

QVariantList PagesEnv::pointer() const
{
    return {m_pointer.params.acceleration != 0, m_pointer.speed, m_pointer.lines, m_pointer.doubleClickMs};
}

QStringList PagesEnv::macroFiles() const
{
    return QDir(QStringLiteral("modules/macro/1")).entryList(QDir::Files, QDir::Name);
}

QVariant PagesEnv::setting(const QString &file, const QString &key) const
{
    QSettings settings(file, QSettings::IniFormat);
    return settings.value(key);
}

bool PagesEnv::writeFile(const QString &relative, const QString &content)
{
    QDir().mkpath(QFileInfo(relative).path());
    QFile file(relative);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content.toUtf8()) >= 0;
}

QString PagesEnv::readFile(const QString &relative) const
{
    QFile file(relative);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void PagesEnv::setConfirmAnswer(bool answer)
{
    if (m_view)
        m_view->confirmAnswer = answer;
}

void PagesEnv::setOpenAnswer(const QString &answer)
{
    if (m_view)
        m_view->openAnswer = answer;
}

void PagesEnv::setSaveAnswer(const QString &answer)
{
    if (m_view)
        m_view->saveAnswer = answer;
}

QString PagesEnv::folder() const
{
    return m_dir ? m_dir->path() : QString();
}

// Sensor page.
void PagesEnv::syncView()
{
    if (m_view)
        m_view->checkDevice(kSupportedModel.product.deviceListEntry, wire::virtualMouseEntry());
    settle();
    vmouse::clearWireLog();
}
