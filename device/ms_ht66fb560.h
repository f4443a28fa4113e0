#pragma once

#include "deviceinfo.h"
#include "usbtask.h"

#include <QList>
#include <QObject>
#include <QString>

class Widget;
class Master;
class Slave;

// The mouse's HID protocol: detection results, the transport and one slot per device command.
// The command slots are synchronous and not re-entrant; call them from one thread only (the program's device
// link runs them all on its own thread). Every slot returns whether its exchange went through.
class MS_HT66FB560 : public QObject
{
    Q_OBJECT

public:
    explicit MS_HT66FB560(QObject *parent = nullptr);
    ~MS_HT66FB560() override;

    Widget *owner() const { return m_owner; }
    void setOwner(Widget *owner) { m_owner = owner; }

    // Looks for both interfaces of the entry, always continues with hid_OpenDevice and returns whether both
    // were found; answered receives whether the mouse took the 01H that opening sends.
    bool hid_FindDevice(int index, const DeviceInfo &entry, bool *answered = nullptr);
    // Stores the description, sends 01H and restarts the listener; returns whether 01H went through.
    bool hid_OpenDevice(const DeviceOpenInfo &info);

    const UsbTask &task() const { return requestTemplate; }
    Master *master() const { return m_master; }
    Slave *slave() const { return m_slave; }

public Q_SLOTS:
    void onVendor(QList<uchar> vCmd);
    void hid_Cs(uchar *src9);
    bool hid_SetCmd(uchar *src9);
    bool hid_SetDataCmd(uchar *src9, uchar *data, int length);
    bool hid_GetCmd(uchar *src9);
    bool hid_GetDataCmd(uchar *src9, uchar *data, int length);

    bool hid_01H_SetFunctionOption(uchar option);
    bool hid_02H_SetCurrentProfile(uchar profileId);
    bool hid_03H_SetReportRate(uchar rate, uchar profileId);
    bool hid_04H_SetDPIStage(uchar stage, uchar profileId);
    bool hid_08H_SetStopMacroSending();
    bool hid_0CH_SetFwProfile(uchar profileId, uchar *src128);
    bool hid_0DH_SetKeyMatrix(uchar profileId, uchar *src128);
    bool hid_0FH_SetMacroKey(uchar macroId, uchar *src128);
    bool hid_80H_GetFWVersion(QString &version);
    bool hid_81H_GetFunctionOption(uchar &option);
    bool hid_82H_GetCurrentProfile(uchar &profileId);
    bool hid_83H_GetReportRate(uchar &rate, uchar profileId);
    bool hid_84H_GetDPIStage(uchar &stage, uchar profileId);
    bool hid_89H_GetRGBLedTwinkle(uchar &type);
    bool hid_8CH_GetFwProfile(uchar profileId, uchar *src128);
    bool hid_8DH_GetKeyMatrix(uchar profileId, uchar *src128);
    bool hid_8FH_GetMacroKey(uchar macroId, uchar *src128);

private:
    bool prepare(uchar *src9, const uchar *data, int length);
    // A read command whose reply must carry at least replyBytes bytes (the value byte included).
    bool getCmd(uchar *src9, int replyBytes);
    bool readValue(uchar opcode, std::initializer_list<uchar> params, std::size_t replyByte, uchar &value);

    Widget *m_owner = nullptr;
    Master *m_master = nullptr;
    Slave *m_slave = nullptr;
    UsbTask requestTemplate;
};
