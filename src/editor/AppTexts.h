#pragma once

#include <QString>

// Texts shared by more than one window.
namespace texts {
inline const QString appTitle = QStringLiteral("DMX Vantor Control Programme");
inline const QString portPrompt = QStringLiteral("Specify comm port number?");
inline const QString speedPrompt = QStringLiteral("Specify speed - 0: 9600 1:19200");
inline const QString invalidCommPort = QStringLiteral("Invalid comm port");
inline const QString overwriteQuestion = QStringLiteral("Data already exists - overwrite?");
} // namespace texts
