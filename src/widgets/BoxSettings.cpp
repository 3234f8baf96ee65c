#include "widgets/BoxSettings.h"

#include "platform/LineFile.h"
#include "widgets/infUnit.h"
#include "widgets/ScreenPlace.h"

#include <QFileInfo>
#include <QWidget>
#include <algorithm>

const QString settingsErrorText =
    QStringLiteral("Information\rDer gik noget galt med opstarten.\rDer kan eventuelt være slettet vigtige filer.");

namespace {
struct SettingsError {};
} // namespace

const QString &SettingsLines::next()
{
    if (m_index >= m_lines.size())
        throw SettingsError{};
    return m_lines[m_index++];
}

int SettingsLines::integer()
{
    // Only blanks, a sign and digits: Qt's conversion would stop quietly at a NUL byte and take
    // "8\0 00" for 8.
    const QStringView number = QStringView(next()).trimmed();
    const qsizetype digits = number.startsWith(u'+') || number.startsWith(u'-') ? 1 : 0;
    if (number.size() == digits
        || !std::all_of(number.begin() + digits, number.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        throw SettingsError{};
    bool ok = false;
    const int value = number.toInt(&ok, 10);
    if (!ok)
        throw SettingsError{};
    return value;
}

bool SettingsLines::yesNo()
{
    return integer() == 1;
}

QString SettingsLines::text()
{
    return next();
}

bool readSettings(const QString &path, const SettingsRules &rules, const std::function<void()> &defaults,
                  const std::function<void(SettingsLines &)> &apply)
{
    const auto fallBack = [&] {
        if (rules.onMissing == SettingsRules::Fallback::Defaults && defaults)
            defaults();
    };
    if (!QFileInfo::exists(path)) {
        fallBack();
        return false;
    }
    bool complete = false;
    if (const std::optional<QStringList> lines = Platform::readLines(path)) {
        if (rules.lineCountChecked && lines->size() != rules.lineCount) {
            fallBack();
            return false;
        }
        SettingsLines reader(*lines);
        try {
            apply(reader);
            complete = true;
        } catch (const SettingsError &) {
        }
    } else {
        // A file that cannot be read gives what a missing one gives, never values half set.
        fallBack();
    }
    if (!complete && rules.errorsReported)
        showInfo(settingsErrorText);
    return complete;
}

void SettingsLines::readWindowGeometry(QWidget &window)
{
    // Width and height are the window's own size, left and top its frame's position: the pair
    // Qt sets and reports alike, so a saved geometry comes back unchanged.
    const int w = integer();
    window.resize(w, window.height());
    const int h = integer();
    window.resize(window.width(), h);
    const int left = integer();
    window.move(left, window.y());
    const int top = integer();
    window.move(window.x(), top);
}

void SettingsLines::windowGeometry(QWidget &window)
{
    // A place saved on a screen that is gone, or written by hand, must not hide the window where
    // the user cannot reach it; it is saved back from where it is put.
    try {
        readWindowGeometry(window);
    } catch (const SettingsError &) {
        keepOnScreen(window);
        throw;
    }
    keepOnScreen(window);
}

SettingsWriter &SettingsWriter::windowGeometry(const QWidget &window)
{
    const QRect normal = window.isMaximized() || window.isMinimized() ? window.normalGeometry()
                                                                       : QRect(window.pos(), window.size());
    return windowGeometry(normal);
}

SettingsWriter &SettingsWriter::windowGeometry(const QRect &place)
{
    return integer(place.width()).integer(place.height()).integer(place.x()).integer(place.y());
}

SettingsWriter &SettingsWriter::integer(int value)
{
    m_lines << QString::number(value);
    return *this;
}

SettingsWriter &SettingsWriter::yesNo(bool value)
{
    m_lines << QString(value ? QLatin1Char('1') : QLatin1Char('0'));
    return *this;
}

SettingsWriter &SettingsWriter::text(const QString &value)
{
    m_lines << value;
    return *this;
}

bool SettingsWriter::write(const QString &path) const
{
    return writeUserFile(path, m_lines);
}

bool writeUserFile(const QString &path, const QStringList &lines, Platform::TextEncoding encoding)
{
    QString error;
    if (Platform::writeLines(path, lines, &error, encoding))
        return true;
    showInfo(QStringLiteral("Filen kunne ikke gemmes:\r") + path + QLatin1Char('\r') + error);
    return false;
}
