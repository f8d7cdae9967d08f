#pragma once

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>

class PreparedReport;
class RecordSet;
class ReportDataSource;
class ReportTemplate;
struct ReportObject;

// A window's report object: at most one loaded template, the data sources tied to it by name
// (frMain, frDetail1..3, frDBDataSet1, frDBDataSet2, ...) and the report-level data source.
// Ties and the template live as long as the object, as windows expect.
class Report {
public:
    enum class LoadResult { Loaded, Missing, Damaged };

    Report();
    ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    // Loads a template file, its name matched without regard to case. A missing or damaged file
    // changes nothing; lastError() then says why.
    LoadResult loadFile(const QString& path);
    bool load(const QString& path) { return loadFile(path) == LoadResult::Loaded; }
    bool hasTemplate() const;
    const ReportTemplate& reportTemplate() const;
    // Replaces the layout (a built-in layout, the designer's result); `filePath` is where save() writes.
    void setTemplate(const ReportTemplate& layout, const QString& filePath = {});
    QString filePath() const;
    // Writes the layout back to the file it came from, atomically.
    bool save();

    ReportObject* findObject(const QString& name);
    // The object's whole text becomes `text`, printed as written; false when there is no such object.
    bool setObjectText(const QString& name, const QString& text);

    void tie(const QString& name, RecordSet* recordSet);
    void tie(const QString& name, std::shared_ptr<ReportDataSource> source);
    void untie(const QString& name);
    std::shared_ptr<ReportDataSource> dataSource(const QString& name) const;
    QStringList dataSourceNames() const;
    // The report-level data source: a template of the repeated kind prints once per row of it.
    void setReportDataSource(const QString& name) { m_reportSource = name; }
    QString reportDataSource() const { return m_reportSource; }

    // Fills the template with the tied data; false with lastError() when that fails.
    bool prepare(PreparedReport* out, const QDateTime& now = {});
    QString lastError() const { return m_error; }

private:
    std::unique_ptr<ReportTemplate> m_template;
    QString m_filePath;
    QList<QPair<QString, std::shared_ptr<ReportDataSource>>> m_sources;
    QString m_reportSource;
    QString m_error;
};
