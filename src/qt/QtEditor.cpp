#include "qt/QtEditor.h"

#include "qt/QtChannelWindow.h"
#include "qt/QtGridModel.h"

#include <QApplication>
#include <QFont>

namespace {
// Puts the design's font back when the application's font changes: a desktop theme (qt6ct, for one)
// sets its own once the program runs, and the layout in twips is made for the design's face and
// size. A user who needs larger text scales the whole window instead. The application's font stays
// the hook because the windows that belong to no other (the start prompts, menus, tips) take it.
// The change reaches the application object once and then every widget; only the first is heard.
class DesignFontKeeper final : public QObject {
public:
    DesignFontKeeper(const QFont& font, QObject* application)
        : QObject(application)
        , font(font) {
        application->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::ApplicationFontChange &&
            QApplication::font() != font) {
            QApplication::setFont(font);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QFont font;
};
} // namespace

QtEditor::QtEditor(SerialControl& comm, FileDialog& fileDialog, MessageBox& messages, InputBox& inputs,
                   Clock& clock)
    : form({window.grid(), comm, fileDialog, messages, inputs, clock, window, window.channelWindow()})
    , channelRange(form, window.channelWindow()) {
    window.attach(form, guard);
    window.channelWindow().attach(channelRange, guard);
}

void QtEditor::useDesignFont() {
#if defined(Q_OS_WIN)
    // Every Windows has the design's face, as the scalable face that took its name's place.
    QFont font;
    font.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("MS Sans Serif")});
    // Where neither is installed (wine has neither by those names), a sans serif face still.
    font.setStyleHint(QFont::SansSerif);
#else
    // Stands in for the design's face, which Linux lacks.
    QFont font(QStringLiteral("Liberation Sans"));
#endif
    font.setPointSizeF(8.25);
    QApplication::setFont(font);
    new DesignFontKeeper(QApplication::font(), qApp);
}

bool QtEditor::start() {
    bool started = false;
    guard.run([this, &started] { started = form.onLoad(); });
    return started && window.isVisible();
}
