#pragma once

#include "print/prepared_report.h"
#include "print/report_engine.h"
#include "print/report_template.h"
#include "print/report_template_reader.h"
#include "print/table_data_source.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QString>

#include <memory>

namespace printtest {

inline ReportTemplate readTemplate(const QString& xml)
{
    ReportTemplate t;
    QString error;
    EXPECT_TRUE(ReportTemplateReader::read(xml.toUtf8(), &t, &error)) << error.toStdString();
    return t;
}

inline QDateTime fixedNow()
{
    return QDateTime(QDate(2024, 5, 31), QTime(14, 30, 0));
}

// Prepares a template given as XML; the error text is returned through `error` when it fails.
inline PreparedReport prepare(const QString& xml, const ReportEngine::Sources& sources,
                              QString* error = nullptr, const QString& reportSource = {})
{
    PreparedReport out;
    QString message;
    ReportEngine::Options options;
    options.now = fixedNow();
    const bool ok = ReportEngine::prepare(readTemplate(xml), sources, reportSource, options, &out, &message);
    if (error)
        *error = ok ? QString() : message;
    else
        EXPECT_TRUE(ok) << message.toStdString();
    return out;
}

inline const ReportPageItem* findText(const PreparedReport& report, int page, const QString& text)
{
    for (const ReportPageItem& item : report.pages[page].items)
        if (item.kind == ReportPageItem::Kind::Text && item.text == text)
            return &item;
    return nullptr;
}

// Texts of the items of one template object on a page, top to bottom.
inline QStringList objectTexts(const PreparedReport& report, int page, const QString& objectName)
{
    QStringList texts;
    for (const ReportPageItem& item : report.pages[page].items)
        if (item.name == objectName)
            texts << item.text;
    return texts;
}

} // namespace printtest
