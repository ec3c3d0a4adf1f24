#include "win32/Win32SerialDevices.h"

#include "platform/PortResolver.h"

#include <QHash>
#include <QRegularExpression>

#include <windows.h>

#include <initguid.h>

#include <devguid.h>
#include <setupapi.h>

#include <algorithm>
#include <array>

namespace {

QString registryText(HKEY key, const wchar_t* name) {
    std::array<wchar_t, 256> text{};
    DWORD size = sizeof text - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return QString();
    }
    return QString::fromWCharArray(text.data());
}

// "USB Serial Port" by port name ("COM3"), as the device manager shows the devices of the ports class.
QHash<QString, QString> portDescriptions() {
    QHash<QString, QString> descriptions;
    const HDEVINFO devices = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) {
        return descriptions;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        const HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) {
            continue;
        }
        const QString portName = registryText(key, L"PortName");
        RegCloseKey(key);
        std::array<wchar_t, 256> name{};
        if (portName.isEmpty() ||
            !SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_FRIENDLYNAME, nullptr,
                                               reinterpret_cast<BYTE*>(name.data()),
                                               sizeof name - sizeof(wchar_t), nullptr)) {
            continue;
        }
        // The friendly name ends in the port name, which the list shows already.
        static const QRegularExpression portSuffix(QStringLiteral("\\s*\\(COM\\d+\\)$"));
        descriptions.insert(portName, QString::fromWCharArray(name.data()).remove(portSuffix));
    }
    SetupDiDestroyDeviceInfoList(devices);
    return descriptions;
}

// Port n is COMn: the ports are those the system has named so, as its serial device map lists them.
QList<SerialPortEntry> systemSerialPorts() {
    QList<SerialPortEntry> ports;
    HKEY map = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &map) !=
        ERROR_SUCCESS) {
        return ports;
    }
    const QHash<QString, QString> descriptions = portDescriptions();
    static const QRegularExpression comName(QStringLiteral("^COM(\\d+)$"));
    for (DWORD index = 0;; ++index) {
        std::array<wchar_t, 256> valueName{};
        DWORD nameLength = valueName.size();
        std::array<wchar_t, 64> data{};
        DWORD dataSize = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LSTATUS status = RegEnumValueW(map, index, valueName.data(), &nameLength, nullptr, &type,
                                             reinterpret_cast<BYTE*>(data.data()), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        const QString portName = QString::fromWCharArray(data.data());
        const QRegularExpressionMatch match = comName.match(portName);
        const int number = match.captured(1).toInt();
        if (status == ERROR_SUCCESS && type == REG_SZ && match.hasMatch() && number >= 1 &&
            number <= maxPortNumber) {
            ports.push_back({static_cast<std::int16_t>(number), portName, descriptions.value(portName)});
        }
    }
    RegCloseKey(map);
    std::sort(ports.begin(), ports.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
    return ports;
}

// Windows has no groups for serial ports: a port it refuses is held by another program.
NodeAccess portAccess(const QString&) {
    return {true, QString()};
}

} // namespace

SerialDeviceFacts win32SerialDeviceFacts() {
    return {systemSerialPorts, portAccess};
}
