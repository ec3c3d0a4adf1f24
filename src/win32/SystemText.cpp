#include "win32/SystemText.h"

QString systemText(DWORD code) {
    QString text = qt_error_string(static_cast<int>(code));
    if (text.endsWith(QLatin1Char('.'))) {
        text.chop(1);
    }
    return text;
}
