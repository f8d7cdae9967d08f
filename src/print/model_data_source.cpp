#include "print/model_data_source.h"

#include <QAbstractItemModel>

ModelDataSource::ModelDataSource(const QAbstractItemModel* model, const QStringList& fields,
                                 const QList<int>& columns)
    : m_model(model), m_fields(fields), m_columns(columns)
{
}

bool ModelDataSource::prepare(QString* error)
{
    if (!m_model) {
        if (error)
            *error = QStringLiteral("表格数据已关闭");
        return false;
    }
    // A lazily filled model (a large query) hands over the rest of its rows.
    auto* model = const_cast<QAbstractItemModel*>(m_model.data());
    while (model->canFetchMore(QModelIndex())) {
        const int before = model->rowCount();
        model->fetchMore(QModelIndex());
        if (model->rowCount() == before)
            break; // a model that claims more but gives none must not hang the print
    }
    return true;
}

int ModelDataSource::rowCount() const
{
    return m_model ? m_model->rowCount() : 0;
}

QVariant ModelDataSource::value(int row, int field) const
{
    if (!m_model || field < 0 || field >= m_columns.size())
        return {};
    return m_model->data(m_model->index(row, m_columns[field]), Qt::DisplayRole);
}
