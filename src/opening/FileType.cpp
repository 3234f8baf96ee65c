#include "opening/FileType.h"

QList<FileType> textFileTypes()
{
    static const QList<FileType> types{
        {QStringLiteral("Tekstfil"), QStringLiteral("*.txt")},
        {QStringLiteral("Rich Text"), QStringLiteral("*.rtf")},
        {QStringLiteral("Hjemmeside"), QStringLiteral("*.html")},
        {QStringLiteral("ASP"), QStringLiteral("*.asp")},
        {QStringLiteral("Includefile"), QStringLiteral("*.inc")},
        {QStringLiteral("ASA"), QStringLiteral("*.asa")},
        {QStringLiteral("StyleSheet"), QStringLiteral("*.css")},
        {QStringLiteral("JavaScript"), QStringLiteral("*.js")},
        {QStringLiteral("VB script"), QStringLiteral("*.vbs")},
        {QStringLiteral("Windows script files"), QStringLiteral("*.wsf")},
        {QStringLiteral("Batch"), QStringLiteral("*.bat")},
        {QStringLiteral("Power Shell"), QStringLiteral("*.ps1")},
    };
    return types;
}

QList<FileType> readFileTypes(const QStringList &lines, std::optional<FileType> *unfinished)
{
    QList<FileType> types;
    qsizetype i = 0;
    for (; i + 2 < lines.size(); i += 3)
        types.append({lines.at(i), lines.at(i + 1), lines.at(i + 2) == QLatin1String("1")});
    if (unfinished)
        *unfinished = i < lines.size() ? std::optional(FileType{lines.at(i), lines.value(i + 1), false}) : std::nullopt;
    return types;
}

QStringList fileTypeLines(const QList<FileType> &types)
{
    QStringList lines;
    for (const FileType &type : types)
        lines << type.text << type.mask << (type.offered ? QStringLiteral("1") : QStringLiteral("0"));
    return lines;
}
