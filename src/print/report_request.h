#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

class RecordSet;
class ReportTemplate;

// What a print or design command hands to the report service.
struct ReportRequest {
    struct Tie {
        QString name; // frDBDataSet1, frMain, ...
        RecordSet* recordSet = nullptr;
    };

    QString templateName; // file name inside Qr/, any letter case
    QList<Tie> ties;
    QList<QPair<QString, QString>> captions; // object name, text (MemoDate, Memo1, ...)
    QString reportDataSource;                // frDBDataSet1 for the statistics windows
    // A print stops silently when this data source has no rows; empty: the first tie's.
    QString emptyTestSource;
    bool testEmpty = true;
    // Used when the template file does not exist (the windows that carry a layout of their own).
    const ReportTemplate* builtIn = nullptr;
};
