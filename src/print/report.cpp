#include "print/report.h"

#include "print/prepared_report.h"
#include "print/record_set_data_source.h"
#include "print/report_engine.h"
#include "print/report_expression.h"
#include "print/report_template.h"
#include "print/report_template_reader.h"
#include "print/report_template_writer.h"
#include "print/template_files.h"

#include <QFileInfo>

Report::Report() : m_template(std::make_unique<ReportTemplate>()) {}

Report::~Report() = default;

Report::LoadResult Report::loadFile(const QString& path)
{
    const QString resolved = TemplateFiles::resolvePath(path);
    const QString name = QFileInfo(resolved).fileName();
    if (!QFileInfo(resolved).isFile()) {
        m_error = QStringLiteral("找不到报表模板文件“%1”").arg(name);
        return LoadResult::Missing;
    }
    ReportTemplate loaded;
    QString error;
    if (!ReportTemplateReader::readFile(resolved, &loaded, &error)) {
        m_error = QStringLiteral("报表模板“%1”无法使用：%2").arg(name, error);
        return LoadResult::Damaged;
    }
    *m_template = std::move(loaded);
    m_filePath = resolved;
    m_error.clear();
    return LoadResult::Loaded;
}

bool Report::hasTemplate() const
{
    return !m_template->isEmpty();
}

const ReportTemplate& Report::reportTemplate() const
{
    return *m_template;
}

void Report::setTemplate(const ReportTemplate& layout, const QString& filePath)
{
    *m_template = layout;
    m_filePath = filePath;
}

QString Report::filePath() const
{
    return m_filePath;
}

bool Report::save()
{
    if (m_filePath.isEmpty()) {
        m_error = QStringLiteral("报表没有对应的模板文件");
        return false;
    }
    QString error;
    if (!ReportTemplateWriter::writeFile(*m_template, m_filePath, &error)) {
        m_error = QStringLiteral("报表模板“%1”保存失败：%2").arg(QFileInfo(m_filePath).fileName(), error);
        return false;
    }
    return true;
}

ReportObject* Report::findObject(const QString& name)
{
    return m_template->findObject(name);
}

bool Report::setObjectText(const QString& name, const QString& text)
{
    ReportObject* object = findObject(name);
    if (!object)
        return false;
    if (object->kind == ReportObject::Kind::Field)
        object->kind = ReportObject::Kind::Text;
    if (object->kind != ReportObject::Kind::Text)
        return false;
    // A caption such as "[重要]客户" prints as written instead of being read as an expression.
    object->text = ReportExpression::escapeText(text);
    return true;
}

void Report::tie(const QString& name, RecordSet* recordSet)
{
    if (recordSet)
        tie(name, std::make_shared<RecordSetDataSource>(recordSet));
    else
        untie(name);
}

void Report::tie(const QString& name, std::shared_ptr<ReportDataSource> source)
{
    if (!source) {
        untie(name);
        return;
    }
    for (auto& s : m_sources) {
        if (s.first.compare(name, Qt::CaseInsensitive) == 0) {
            s.second = std::move(source);
            return;
        }
    }
    m_sources.append({name, std::move(source)});
}

void Report::untie(const QString& name)
{
    m_sources.removeIf([&](const auto& s) { return s.first.compare(name, Qt::CaseInsensitive) == 0; });
}

std::shared_ptr<ReportDataSource> Report::dataSource(const QString& name) const
{
    for (const auto& s : m_sources)
        if (s.first.compare(name, Qt::CaseInsensitive) == 0)
            return s.second;
    return nullptr;
}

QStringList Report::dataSourceNames() const
{
    QStringList names;
    for (const auto& s : m_sources)
        names << s.first;
    return names;
}

bool Report::prepare(PreparedReport* out, const QDateTime& now)
{
    ReportEngine::Options options;
    options.now = now;
    if (!m_filePath.isEmpty())
        options.pictureFolder = QFileInfo(m_filePath).path();
    QString error;
    if (!ReportEngine::prepare(*m_template, m_sources, m_reportSource, options, out, &error)) {
        m_error = QStringLiteral("报表无法生成：%1").arg(error);
        return false;
    }
    m_error.clear();
    return true;
}
