#include "print/report_fonts.h"

#include "print/report_style.h"

namespace ReportFonts {

QStringList families(const QString& family)
{
    static const QStringList song{QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                                  QStringLiteral("SimSun"),         QStringLiteral("宋体"),
                                  QStringLiteral("Songti SC"),      QStringLiteral("WenQuanYi Micro Hei")};
    static const QStringList hei{QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("SimHei"),
                                 QStringLiteral("Microsoft YaHei"), QStringLiteral("AR PL UMing CN")};
    static const QStringList sans{QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                  QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei")};
    const QString f = family.trimmed();
    if (f.isEmpty() || f == QStringLiteral("宋体") ||
        f.compare(QLatin1String("SimSun"), Qt::CaseInsensitive) == 0 ||
        f.compare(QLatin1String("Song"), Qt::CaseInsensitive) == 0 ||
        f.startsWith(QLatin1String("AR PL UMing"), Qt::CaseInsensitive) || f == QStringLiteral("新宋体"))
        return song;
    if (f == QStringLiteral("黑体") || f == QStringLiteral("微软雅黑") ||
        f.compare(QLatin1String("SimHei"), Qt::CaseInsensitive) == 0 ||
        f.startsWith(QLatin1String("WenQuanYi"), Qt::CaseInsensitive))
        return hei;
    if (f.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0 ||
        f.compare(QLatin1String("Helvetica"), Qt::CaseInsensitive) == 0)
        return sans;
    return QStringList{f} + song;
}

QFont font(const ReportStyle& style, double pointSize)
{
    QFont f;
    f.setFamilies(families(style.fontFamily));
    f.setPointSizeF(qMax(0.1, pointSize));
    f.setBold(style.bold);
    f.setItalic(style.italic);
    f.setUnderline(style.underline);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

} // namespace ReportFonts
