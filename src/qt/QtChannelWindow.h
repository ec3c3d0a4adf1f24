#pragma once

#include "editor/ChannelView.h"

#include <QDialog>

class Channel;
class QtCommandGuard;
class QLineEdit;
class QPushButton;

// The channel range dialog's window. It only reports its three buttons; the Enter key clicks
// Apply, and Esc as well as closing it through its frame click Cancel.
class QtChannelWindow final : public QDialog, public ChannelView {
    Q_OBJECT
public:
    explicit QtChannelWindow(QWidget* parent = nullptr);

    // From now on the three buttons reach the dialog's logic, each as a command of the guard.
    void attach(Channel& logic, QtCommandGuard& commands);

    QString firstChannelText() const override;
    void setFirstChannelText(const QString& text) override;
    QString lastChannelText() const override;
    void setLastChannelText(const QString& text) override;
    QString valueText() const override;
    void setValueText(const QString& text) override;

    void focusValue() override;
    void showModeless() override;
    void closeDialog() override { hide(); }

    // Esc.
    void reject() override;

signals:
    void applyClicked();
    void enterClicked();
    void cancelClicked();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLineEdit* firstChannel = nullptr;
    QLineEdit* lastChannel = nullptr;
    QLineEdit* value = nullptr;
    QPushButton* cancelBtn = nullptr;
};
