#include "platformlog.h"
#include "pointersettings.h"

#include <QByteArray>
#include <QLibrary>

#include <gio/gio.h>

#include <optional>
#include <type_traits>

namespace {

// GIO is loaded when the pointer settings are first used, not with the program: it and the libraries it
// pulls in cost the start memory and time, and most runs never touch the desktop's pointer settings. Its
// header gives the types; the functions come from the library found at run time, GLib's and GObject's through
// GIO's own dependencies.
struct Gio
{
    decltype(&g_settings_schema_source_get_default) schemaSourceGetDefault;
    decltype(&g_settings_schema_source_lookup) schemaSourceLookup;
    decltype(&g_settings_schema_unref) schemaUnref;
    decltype(&g_settings_schema_has_key) schemaHasKey;
    decltype(&g_settings_schema_get_key) schemaGetKey;
    decltype(&g_settings_schema_key_range_check) schemaKeyRangeCheck;
    decltype(&g_settings_schema_key_unref) schemaKeyUnref;
    decltype(&g_settings_new_full) settingsNewFull;
    decltype(&g_settings_get_string) settingsGetString;
    decltype(&g_settings_set_value) settingsSetValue;
    decltype(&g_settings_sync) settingsSync;
    decltype(&g_object_unref) objectUnref;
    decltype(&g_free) free;
    decltype(&g_variant_new_string) variantNewString;
    decltype(&g_variant_new_double) variantNewDouble;
    decltype(&g_variant_new_int32) variantNewInt32;
    decltype(&g_variant_ref_sink) variantRefSink;
    decltype(&g_variant_unref) variantUnref;
};

// Null when GIO is not installed or lacks a function; then the desktop's settings cannot be reached.
const Gio *gio()
{
    static const std::optional<Gio> loaded = []() -> std::optional<Gio> {
        // Never unloaded: GIO registers types that outlive any handle on it.
        QLibrary library(QStringLiteral("gio-2.0"), 0);
        if (!library.load()) {
            qCDebug(lcPointer) << "no desktop mouse settings: GIO does not load:" << library.errorString();
            return std::nullopt;
        }
        bool complete = true;
        const auto resolve = [&library, &complete](auto &function, const char *name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
            if (!function) {
                qCDebug(lcPointer) << "no desktop mouse settings: GIO has no" << name;
                complete = false;
            }
        };
        Gio g{};
        resolve(g.schemaSourceGetDefault, "g_settings_schema_source_get_default");
        resolve(g.schemaSourceLookup, "g_settings_schema_source_lookup");
        resolve(g.schemaUnref, "g_settings_schema_unref");
        resolve(g.schemaHasKey, "g_settings_schema_has_key");
        resolve(g.schemaGetKey, "g_settings_schema_get_key");
        resolve(g.schemaKeyRangeCheck, "g_settings_schema_key_range_check");
        resolve(g.schemaKeyUnref, "g_settings_schema_key_unref");
        resolve(g.settingsNewFull, "g_settings_new_full");
        resolve(g.settingsGetString, "g_settings_get_string");
        resolve(g.settingsSetValue, "g_settings_set_value");
        resolve(g.settingsSync, "g_settings_sync");
        resolve(g.objectUnref, "g_object_unref");
        resolve(g.free, "g_free");
        resolve(g.variantNewString, "g_variant_new_string");
        resolve(g.variantNewDouble, "g_variant_new_double");
        resolve(g.variantNewInt32, "g_variant_new_int32");
        resolve(g.variantRefSink, "g_variant_ref_sink");
        resolve(g.variantUnref, "g_variant_unref");
        if (!complete)
            return std::nullopt;
        return g;
    }();
    return loaded ? &*loaded : nullptr;
}

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
        : m_gio(gio())
    {
        if (!m_gio)
            return;
        // Looked up first: g_settings_new() on a schema that is not installed aborts the process.
        GSettingsSchemaSource *source = m_gio->schemaSourceGetDefault();
        m_schema = source ? m_gio->schemaSourceLookup(source, SchemaId, TRUE) : nullptr;
        if (!m_schema) {
            qCDebug(lcPointer) << "no desktop mouse settings: the schema" << SchemaId << "is not installed";
            return;
        }
        m_settings = m_gio->settingsNewFull(m_schema, nullptr, nullptr);
    }

    ~GSettingsPointerSettings() override
    {
        if (m_settings)
            m_gio->objectUnref(m_settings);
        if (m_schema)
            m_gio->schemaUnref(m_schema);
    }

    GSettingsPointerSettings(const GSettingsPointerSettings &) = delete;
    GSettingsPointerSettings &operator=(const GSettingsPointerSettings &) = delete;

    bool mouseParams(MouseParams &params) override
    {
        if (!hasKey(AccelProfileKey))
            return false;
        gchar *profile = m_gio->settingsGetString(m_settings, AccelProfileKey);
        // "default" lets the input driver choose, and for mice it chooses the adaptive profile.
        const bool flat = qstrcmp(profile, Flat) == 0;
        m_gio->free(profile);
        // The desktop has no movement thresholds; they come back as 0 and are not written.
        params = MouseParams{0, 0, flat ? 0 : 1};
        return true;
    }

    bool setMouseParams(const MouseParams &params) override
    {
        return write(AccelProfileKey, [&params](const Gio &g) {
            return g.variantNewString(params.acceleration ? Adaptive : Flat);
        });
    }

    bool setMouseSpeed(int speed) override
    {
        if (speed < MinSpeed || speed > MaxSpeed) {
            qCDebug(lcPointer) << "pointer speed" << speed << "is outside" << MinSpeed << "…" << MaxSpeed;
            return false;
        }
        return write(SpeedKey, [speed](const Gio &g) { return g.variantNewDouble(desktopSpeed(speed)); });
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
        return write(DoubleClickKey,
                     [milliseconds](const Gio &g) { return g.variantNewInt32(gint32(milliseconds)); });
    }

private:
    bool hasKey(const char *key) const
    {
        if (!m_settings)
            return false;
        if (!m_gio->schemaHasKey(m_schema, key)) {
            qCDebug(lcPointer) << "the installed schema" << SchemaId << "has no key" << key;
            return false;
        }
        return true;
    }

    // Writes the value makeValue gives (a floating GVariant, made with GIO's functions) to key, where the
    // desktop's settings are open and hold the key.
    template<typename MakeValue>
    bool write(const char *key, MakeValue makeValue)
    {
        if (!hasKey(key))
            return false;
        GVariant *value = m_gio->variantRefSink(makeValue(*m_gio));
        GSettingsSchemaKey *schemaKey = m_gio->schemaGetKey(m_schema, key);
        bool written = false;
        // Checked here: GSettings refuses an out-of-range value with a critical message of its own.
        if (!m_gio->schemaKeyRangeCheck(schemaKey, value))
            qCDebug(lcPointer) << "the desktop refuses this value for" << key;
        else if (!m_gio->settingsSetValue(m_settings, key, value))
            qCDebug(lcPointer) << "the desktop setting" << key << "is not writable";
        else
            written = true;
        m_gio->schemaKeyUnref(schemaKey);
        m_gio->variantUnref(value);
        if (written)
            m_gio->settingsSync();
        return written;
    }

    const Gio *m_gio;
    GSettingsSchema *m_schema = nullptr;
    GSettings *m_settings = nullptr;
};

} // namespace

std::unique_ptr<PointerSettings> PointerSettings::createSystemSettings()
{
    return std::make_unique<GSettingsPointerSettings>();
}
