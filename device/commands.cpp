// The mouse's command set: one slot per opcode on top of the transport slots.

#include "devicelog.h"
#include "ms_ht66fb560.h"

namespace {

constexpr std::size_t kValueByte2 = 2;
constexpr std::size_t kValueByte3 = 3;

} // namespace

bool MS_HT66FB560::readValue(uchar opcode, std::initializer_list<uchar> params, std::size_t replyByte,
                             uchar &value)
{
    Frame frame = makeFrame(opcode, params);
    if (!getCmd(frame.data(), int(replyByte) + 1))
        return false;
    value = frame[replyByte];
    return true;
}

bool MS_HT66FB560::hid_01H_SetFunctionOption(uchar option)
{
    Frame frame = makeFrame(Opcode::SetFunctionOption, {option});
    return hid_SetCmd(frame.data());
}

bool MS_HT66FB560::hid_02H_SetCurrentProfile(uchar profileId)
{
    Frame frame = makeFrame(Opcode::SetCurrentProfile, {profileId});
    return hid_SetCmd(frame.data());
}

// The mouse takes the profile before the value, although callers name the value first.
bool MS_HT66FB560::hid_03H_SetReportRate(uchar rate, uchar profileId)
{
    Frame frame = makeFrame(Opcode::SetReportRate, {profileId, rate});
    return hid_SetCmd(frame.data());
}

bool MS_HT66FB560::hid_04H_SetDPIStage(uchar stage, uchar profileId)
{
    Frame frame = makeFrame(Opcode::SetDPIStage, {profileId, stage});
    return hid_SetCmd(frame.data());
}

bool MS_HT66FB560::hid_08H_SetStopMacroSending()
{
    Frame frame = makeFrame(Opcode::SetStopMacroSending,
                            {kStopMacroPattern[0], kStopMacroPattern[1], kStopMacroPattern[2]});
    return hid_SetCmd(frame.data());
}

bool MS_HT66FB560::hid_0CH_SetFwProfile(uchar profileId, uchar *src128)
{
    Frame frame = makeFrame(Opcode::SetFwProfile, {profileId, kBlockLengthMarker});
    return hid_SetDataCmd(frame.data(), src128, kBlockSize);
}

bool MS_HT66FB560::hid_0DH_SetKeyMatrix(uchar profileId, uchar *src128)
{
    Frame frame = makeFrame(Opcode::SetKeyMatrix, {profileId, kBlockLengthMarker});
    return hid_SetDataCmd(frame.data(), src128, kBlockSize);
}

bool MS_HT66FB560::hid_0FH_SetMacroKey(uchar macroId, uchar *src128)
{
    Frame frame = makeFrame(Opcode::SetMacroKey, {macroId, kBlockLengthMarker});
    return hid_SetDataCmd(frame.data(), src128, kBlockSize);
}

bool MS_HT66FB560::hid_80H_GetFWVersion(QString &version)
{
    Frame frame = makeFrame(Opcode::GetFWVersion);
    if (!getCmd(frame.data(), int(kValueByte3) + 1)) {
        version = QStringLiteral("unknown");
        return false;
    }
    version = firmwareVersionText(frame[kValueByte2], frame[kValueByte3]);
    return true;
}

bool MS_HT66FB560::hid_81H_GetFunctionOption(uchar &option)
{
    return readValue(Opcode::GetFunctionOption, {}, kValueByte2, option);
}

bool MS_HT66FB560::hid_82H_GetCurrentProfile(uchar &profileId)
{
    return readValue(Opcode::GetCurrentProfile, {}, kValueByte2, profileId);
}

bool MS_HT66FB560::hid_83H_GetReportRate(uchar &rate, uchar profileId)
{
    return readValue(Opcode::GetReportRate, {profileId}, kValueByte3, rate);
}

bool MS_HT66FB560::hid_84H_GetDPIStage(uchar &stage, uchar profileId)
{
    return readValue(Opcode::GetDPIStage, {profileId}, kValueByte3, stage);
}

bool MS_HT66FB560::hid_89H_GetRGBLedTwinkle(uchar &type)
{
    return readValue(Opcode::GetRGBLedTwinkle, {}, kValueByte2, type);
}

bool MS_HT66FB560::hid_8CH_GetFwProfile(uchar profileId, uchar *src128)
{
    Frame frame = makeFrame(Opcode::GetFwProfile, {profileId});
    return hid_GetDataCmd(frame.data(), src128, kBlockSize);
}

bool MS_HT66FB560::hid_8DH_GetKeyMatrix(uchar profileId, uchar *src128)
{
    Frame frame = makeFrame(Opcode::GetKeyMatrix, {profileId});
    return hid_GetDataCmd(frame.data(), src128, kBlockSize);
}

bool MS_HT66FB560::hid_8FH_GetMacroKey(uchar macroId, uchar *src128)
{
    Frame frame = makeFrame(Opcode::GetMacroKey, {macroId});
    return hid_GetDataCmd(frame.data(), src128, kBlockSize);
}
