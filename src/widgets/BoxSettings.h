#pragma once

#include "platform/TextCodec.h"

#include <QString>
#include <QStringList>
#include <functional>

class QRect;
class QWidget;

// The settings files of the main window and the boxes: one value per line at fixed positions,
// read once in the window's create step and written when it closes. Members differ only in the
// rules below; each gives its own lines.
struct SettingsRules {
    int lineCount = 0;
    // A file with another number of lines is not read at all (then `onMissing` applies).
    bool lineCountChecked = false;
    // A failed read shows the start-up error in the information box; otherwise it is silent.
    bool errorsReported = false;
    // What a missing file (or, with a checked count, a wrong one) gives: the member's defaults,
    // or the values the window was designed with (nothing is done).
    enum class Fallback { Defaults, DesignValues } onMissing = Fallback::Defaults;
};

// Hands out the lines of a settings file in order. A missing line, or a line that is not what
// the member expects, ends the reading: the values already applied stay.
class SettingsLines {
public:
    explicit SettingsLines(QStringList lines) : m_lines(std::move(lines)) {}
    int integer();
    bool yesNo();
    QString text();
    // A window's width, height, left and top edge, each applied as soon as it is read: a file
    // that ends part way leaves the rest as it was. Then the window is kept on a screen.
    void windowGeometry(QWidget &window);

private:
    void readWindowGeometry(QWidget &window);
    const QString &next();
    QStringList m_lines;
    int m_index = 0;
};

// Reads path by the rules: defaults() for the fallbacks, apply() takes the values in order.
// Returns true when every value was read.
bool readSettings(const QString &path, const SettingsRules &rules, const std::function<void()> &defaults,
                  const std::function<void(SettingsLines &)> &apply);

// Builds the lines of a settings file.
class SettingsWriter {
public:
    SettingsWriter &integer(int value);
    SettingsWriter &yesNo(bool value);
    SettingsWriter &text(const QString &value);
    // Width, height, left and top of the window as it is when not maximised or minimised.
    SettingsWriter &windowGeometry(const QWidget &window);
    // Width, height, left and top of a window's place: its frame's position and its own size.
    SettingsWriter &windowGeometry(const QRect &place);
    // Replaces the file; a failure is reported in the information box and the program goes on.
    bool write(const QString &path) const;

private:
    QStringList m_lines;
};

// Replaces one of the user's files with lines; a failure is reported in the information box and
// the program goes on (the old file stays whole).
// encoding: the ANSI code page, or the byte-order mark encoding a list was read with.
bool writeUserFile(const QString &path, const QStringList &lines,
                   Platform::TextEncoding encoding = Platform::TextEncoding::Ansi);

// The text shown when a member marked for messages fails to read its file.
extern const QString settingsErrorText;
