#pragma once

#include <QString>

// Message boxes with the application's title and no icon.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    // A message with an OK button only.
    virtual void inform(const QString& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool confirm(const QString& question) = 0;
};
