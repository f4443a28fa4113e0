// The hidapi C interface over the virtual mouse. Same header, same symbols as the system library, so a test
// links this library instead, and the program runs against it with LD_PRELOAD.

#include "emulator.h"

#include <cstdlib>

#define VMOUSE_C_API extern "C" __attribute__((visibility("default")))

using vmouse::Emulator;

namespace {

const hid_api_version kVersion = {HID_API_VERSION_MAJOR, HID_API_VERSION_MINOR, HID_API_VERSION_PATCH};

// The mouse reports no strings; the getters answer with an empty one.
int emptyString(hid_device *dev, wchar_t *string, std::size_t maxlen)
{
    if (!dev || !string || maxlen == 0)
        return -1;
    string[0] = L'\0';
    return 0;
}

} // namespace

VMOUSE_C_API int hid_init(void)
{
    Emulator::instance();
    return 0;
}

VMOUSE_C_API int hid_exit(void)
{
    return 0;
}

VMOUSE_C_API hid_device_info *hid_enumerate(unsigned short vendor_id, unsigned short product_id)
{
    return Emulator::instance().enumerate(vendor_id, product_id);
}

VMOUSE_C_API void hid_free_enumeration(hid_device_info *devs)
{
    while (devs) {
        hid_device_info *next = devs->next;
        std::free(devs->path);
        std::free(devs->serial_number);
        std::free(devs->manufacturer_string);
        std::free(devs->product_string);
        std::free(devs);
        devs = next;
    }
}

VMOUSE_C_API hid_device *hid_open(unsigned short vendor_id, unsigned short product_id,
                                  const wchar_t *serial_number)
{
    (void)serial_number; // the mouse has no serial number
    hid_device_info *devs = hid_enumerate(vendor_id, product_id);
    hid_device *dev = devs ? Emulator::instance().open(devs->path) : nullptr;
    hid_free_enumeration(devs);
    return dev;
}

VMOUSE_C_API hid_device *hid_open_path(const char *path)
{
    return Emulator::instance().open(path);
}

VMOUSE_C_API int hid_write(hid_device *dev, const unsigned char *data, size_t length)
{
    return Emulator::instance().write(dev, data, length);
}

VMOUSE_C_API int hid_read_timeout(hid_device *dev, unsigned char *data, size_t length, int milliseconds)
{
    return Emulator::instance().read(dev, data, length, milliseconds);
}

VMOUSE_C_API int hid_read(hid_device *dev, unsigned char *data, size_t length)
{
    return Emulator::instance().read(dev, data, length, Emulator::kHandleMode);
}

VMOUSE_C_API int hid_set_nonblocking(hid_device *dev, int nonblock)
{
    return Emulator::instance().setNonblocking(dev, nonblock != 0);
}

VMOUSE_C_API int hid_send_feature_report(hid_device *dev, const unsigned char *data, size_t length)
{
    return Emulator::instance().sendFeature(dev, data, length);
}

VMOUSE_C_API int hid_get_feature_report(hid_device *dev, unsigned char *data, size_t length)
{
    return Emulator::instance().getFeature(dev, data, length);
}

VMOUSE_C_API int hid_get_input_report(hid_device *dev, unsigned char *data, size_t length)
{
    (void)dev;
    (void)data;
    (void)length;
    return -1; // the mouse delivers its input reports only on the interrupt pipe
}

VMOUSE_C_API void hid_close(hid_device *dev)
{
    Emulator::instance().close(dev);
}

VMOUSE_C_API int hid_get_manufacturer_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    return emptyString(dev, string, maxlen);
}

VMOUSE_C_API int hid_get_product_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    return emptyString(dev, string, maxlen);
}

VMOUSE_C_API int hid_get_serial_number_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    return emptyString(dev, string, maxlen);
}

VMOUSE_C_API hid_device_info *hid_get_device_info(hid_device *dev)
{
    return Emulator::instance().deviceInfo(dev);
}

VMOUSE_C_API int hid_get_indexed_string(hid_device *dev, int string_index, wchar_t *string, size_t maxlen)
{
    (void)dev;
    (void)string_index;
    (void)string;
    (void)maxlen;
    return -1;
}

VMOUSE_C_API const wchar_t *hid_error(hid_device *dev)
{
    return Emulator::instance().error(dev);
}

VMOUSE_C_API const hid_api_version *hid_version(void)
{
    return &kVersion;
}

VMOUSE_C_API const char *hid_version_str(void)
{
    return HID_API_VERSION_STR;
}
