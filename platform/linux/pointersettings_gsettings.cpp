#include "platformlog.h"
#include "pointersettings.h"

#include <QByteArray>

#include <gio/gio.h>

namespace {

// The desktop-wide mouse settings of GNOME and of every desktop that follows its schemas; the compositor or
// the X settings daemon applies them to the pointer.
constexpr char SchemaId[] = "org.gnome.desktop.peripherals.mouse";
constexpr char AccelProfileKey[] = "accel-profile";
constexpr char SpeedKey[] = "speed";
constexpr char DoubleClickKey[] = "double-click";
constexpr char Adaptive[] = "adaptive";
constexpr char Flat[] = "flat";

// Windows' 1 … 20 (10 = default) onto the desktop's −1.0 … 1.0 (0.0 = default): both ends and the default
// meet, so the slower half has nine steps and the faster half ten.
double desktopSpeed(int speed)
{
    const int fromDefault = speed - PointerSettings::DefaultSpeed;
    if (fromDefault <= 0)
        return double(fromDefault) / (PointerSettings::DefaultSpeed - PointerSettings::MinSpeed);
    return double(fromDefault) / (PointerSettings::MaxSpeed - PointerSettings::DefaultSpeed);
}

class GSettingsPointerSettings final : public PointerSettings
{
public:
    GSettingsPointerSettings()
    {
        // Looked up first: g_settings_new() on a schema that is not installed aborts the process.
        GSettingsSchemaSource *source = g_settings_schema_source_get_default();
        m_schema = source ? g_settings_schema_source_lookup(source, SchemaId, TRUE) : nullptr;
        if (!m_schema) {
            qCDebug(lcPointer) << "no desktop mouse settings: the schema" << SchemaId << "is not installed";
            return;
        }
        m_settings = g_settings_new_full(m_schema, nullptr, nullptr);
    }

    ~GSettingsPointerSettings() override
    {
        if (m_settings)
            g_object_unref(m_settings);
        if (m_schema)
            g_settings_schema_unref(m_schema);
    }

    GSettingsPointerSettings(const GSettingsPointerSettings &) = delete;
    GSettingsPointerSettings &operator=(const GSettingsPointerSettings &) = delete;

    bool mouseParams(MouseParams &params) override
    {
        if (!hasKey(AccelProfileKey))
            return false;
        gchar *profile = g_settings_get_string(m_settings, AccelProfileKey);
        // "default" lets the input driver choose, and for mice it chooses the adaptive profile.
        const bool flat = qstrcmp(profile, Flat) == 0;
        g_free(profile);
        // The desktop has no movement thresholds; they come back as 0 and are not written.
        params = MouseParams{0, 0, flat ? 0 : 1};
        return true;
    }

    bool setMouseParams(const MouseParams &params) override
    {
        return write(AccelProfileKey, g_variant_new_string(params.acceleration ? Adaptive : Flat));
    }

    bool setMouseSpeed(int speed) override
    {
        if (speed < MinSpeed || speed > MaxSpeed) {
            qCDebug(lcPointer) << "pointer speed" << speed << "is outside" << MinSpeed << "…" << MaxSpeed;
            return false;
        }
        return write(SpeedKey, g_variant_new_double(desktopSpeed(speed)));
    }

    bool setWheelScrollLines(unsigned lines) override
    {
        qCDebug(lcPointer) << "the desktop has no setting for the wheel's scroll lines; asked for" << lines;
        return false;
    }

    bool setDoubleClickTime(unsigned milliseconds) override
    {
        if (milliseconds > unsigned(G_MAXINT32)) {
            qCDebug(lcPointer) << "double-click time" << milliseconds << "ms is out of range";
            return false;
        }
        return write(DoubleClickKey, g_variant_new_int32(gint32(milliseconds)));
    }

private:
    bool hasKey(const char *key) const
    {
        if (!m_settings)
            return false;
        if (!g_settings_schema_has_key(m_schema, key)) {
            qCDebug(lcPointer) << "the installed schema" << SchemaId << "has no key" << key;
            return false;
        }
        return true;
    }

    // Takes the floating reference of value.
    bool write(const char *key, GVariant *value)
    {
        g_variant_ref_sink(value);
        bool written = false;
        if (hasKey(key)) {
            GSettingsSchemaKey *schemaKey = g_settings_schema_get_key(m_schema, key);
            // Checked here: GSettings refuses an out-of-range value with a critical message of its own.
            if (!g_settings_schema_key_range_check(schemaKey, value))
                qCDebug(lcPointer) << "the desktop refuses this value for" << key;
            else if (!g_settings_set_value(m_settings, key, value))
                qCDebug(lcPointer) << "the desktop setting" << key << "is not writable";
            else
                written = true;
            g_settings_schema_key_unref(schemaKey);
        }
        g_variant_unref(value);
        if (written)
            g_settings_sync();
        return written;
    }

    GSettingsSchema *m_schema = nullptr;
    GSettings *m_settings = nullptr;
};

} // namespace

std::unique_ptr<PointerSettings> PointerSettings::createSystemSettings()
{
    return std::make_unique<GSettingsPointerSettings>();
}
