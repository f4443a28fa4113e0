#include "mousereading.h"

#include "devicelog.h"
#include "ms_ht66fb560.h"

namespace {

QString profileCommand(uchar opcode, int profile)
{
    return QStringLiteral("%1 (profile %2)").arg(opcodeText(opcode)).arg(profile);
}

} // namespace

MouseReading readMouse(MS_HT66FB560 &mouse)
{
    MouseReading r;
    r.firmwareVersion = QStringLiteral("unknown");

    uchar current = 0;
    if (!mouse.hid_82H_GetCurrentProfile(current)) {
        r.failedCommand = opcodeText(Opcode::GetCurrentProfile);
        return r;
    }
    r.currentProfile = current;

    for (int p = 0; p < kMouseProfileCount; ++p) {
        ProfileReading profile;
        const auto id = uchar(p);
        if (!mouse.hid_8CH_GetFwProfile(id, profile.block.data())) {
            r.failedCommand = profileCommand(Opcode::GetFwProfile, p);
            return r;
        }
        if (!mouse.hid_84H_GetDPIStage(profile.stage, id)) {
            r.failedCommand = profileCommand(Opcode::GetDPIStage, p);
            return r;
        }
        if (!mouse.hid_83H_GetReportRate(profile.rate, id)) {
            r.failedCommand = profileCommand(Opcode::GetReportRate, p);
            return r;
        }
        // The twinkle type is global to the mouse and lives with profile 0.
        if (p == 0 && !mouse.hid_89H_GetRGBLedTwinkle(r.twinkle)) {
            r.failedCommand = opcodeText(Opcode::GetRGBLedTwinkle);
            return r;
        }
        r.profiles.append(profile);
    }

    if (!mouse.hid_80H_GetFWVersion(r.firmwareVersion))
        qCDebug(lcDevice) << "the mouse gives no firmware version";
    return r;
}
