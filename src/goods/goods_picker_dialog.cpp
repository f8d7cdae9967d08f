#include "goods/goods_picker_dialog.h"

#include "data/data_module.h"
#include "data/database.h"
#include "data/grid_layout_seed.h"
#include "data/messenger.h"
#include "goods/goods_item.h"
#include "goods/goods_picker_query.h"
#include "print/field_chooser_dialog.h"
#include "records/code_list_source.h"
#include "records/order_lines.h"
#include "reference/code_tree_items.h"
#include "ui_goods_picker_dialog.h"
#include "widgets/combo_items.h"
#include "widgets/data_grid.h"
#include "widgets/data_grid_services.h"
#include "widgets/window_placement.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

GoodsPickerDialog::GoodsPickerDialog(DataModule& data, RecordSet& lines, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::GoodsPickerDialog>()), m_data(data), m_lines(lines)
{
    m_ui->setupUi(this);
    Ui::GoodsPickerDialog& ui = *m_ui;
    ui.Splitter1->setStretchFactor(0, 0);
    ui.Splitter1->setStretchFactor(1, 1);
    ui.Splitter1->setSizes({190, 760});
    ui.btnQuery->setShortcut(QKeySequence(Qt::Key_F8));

    DataGrid* grid = ui.DBGridEh1;
    const QString key = GoodsPickerQuery::gridKey();
    grid->setColumns(GridLayoutSeed::designedColumns(key));
    DataGridServices::loadLayout(*grid, data.db(), data.messenger(), key);
    for (int position = 0; position < grid->gridColumnCount(); ++position) {
        const QString field = grid->fieldName(position).toLower();
        if (field.contains(QLatin1String("price")))
            DataGridServices::setColumnFormat(*grid, data.login(), grid->fieldName(position), 3);
        else if (field.contains(QLatin1String("amount")))
            DataGridServices::setColumnFormat(*grid, data.login(), grid->fieldName(position), 2);
    }
    grid->setSourceModel(&m_goods);

    CodeTreeItems::load(ui.tvType, data, TreeKind::GoodsType);
    if (QTreeWidgetItem* root = ui.tvType->topLevelItem(0)) {
        root->setExpanded(true);
        ui.tvType->setCurrentItem(root);
    }

    const SqlStatement brands = CodeListSource::distinctNames(QStringLiteral("pinpai"));
    ComboItems::fill(ui.cbbPinPai,
                     QStringList{QString()} + data.services().comboItems(brands.sql, brands.values));
    ui.cbbPinPai->setCurrentIndex(0);

    connect(ui.cbbPinPai, &QComboBox::currentTextChanged, this, &GoodsPickerDialog::runQuery);
    connect(ui.edtCode, &QLineEdit::textChanged, this, &GoodsPickerDialog::runQuery);
    connect(ui.edtName, &QLineEdit::textChanged, this, &GoodsPickerDialog::runQuery);
    connect(ui.btnQuery, &QPushButton::clicked, this, &GoodsPickerDialog::runQuery);
    connect(ui.tvType, &QTreeWidget::itemDoubleClicked, this, &GoodsPickerDialog::runQuery);
    connect(ui.SpeedButton1, &QToolButton::toggled, ui.tvType, &QWidget::setVisible);
    connect(grid, &QAbstractItemView::doubleClicked, this, &GoodsPickerDialog::addCurrent);
    connect(grid, &QWidget::customContextMenuRequested, this, &GoodsPickerDialog::showGridMenu);
    connect(ui.btnOK, &QPushButton::clicked, this, &GoodsPickerDialog::addCurrent);
    connect(ui.btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui.btnAddGoods, &QPushButton::clicked, this, [this] {
        // The goods editor comes with the catalogue window.
        m_data.messenger().info(QStringLiteral("此功能尚未提供"));
    });
    for (QWidget* widget : std::initializer_list<QWidget*>{ui.cbbPinPai, ui.edtCode, ui.edtName, grid})
        widget->installEventFilter(this);

    runQuery();
    grid->setFocus();
}

GoodsPickerDialog::~GoodsPickerDialog() = default;

void GoodsPickerDialog::pick(DataModule& data, RecordSet& lines, QWidget* parent)
{
    GoodsPickerDialog picker(data, lines, parent);
    WindowPlacement::place(&picker, WindowPlacement::Editor, parent);
    picker.exec();
}

QString GoodsPickerDialog::typePath() const
{
    const QList<QTreeWidgetItem*> selected = m_ui->tvType->selectedItems();
    if (selected.isEmpty() || !selected.first()->parent())
        return {};
    return CodeTreeItems::path(selected.first());
}

void GoodsPickerDialog::runQuery()
{
    const Ui::GoodsPickerDialog& ui = *m_ui;
    GoodsPickerQuery::Filter filter;
    filter.code = ui.edtCode->text();
    filter.name = ui.edtName->text();
    filter.brand = ui.cbbPinPai->currentText();
    filter.typePath = typePath();
    filter.excluded = m_picked;
    const SqlStatement statement = GoodsPickerQuery::statement(filter, m_data.db().dialect());
    const int row = ui.DBGridEh1->currentRow();
    if (!m_data.services().openQuery(m_goods, statement.sql, statement.values))
        return;
    // The next article takes the place of the one just picked.
    if (row > 0)
        m_goods.setCurrentRow(qMin(row, qMax(0, m_goods.rowCount() - 1)));
}

void GoodsPickerDialog::addCurrent()
{
    const int row = m_ui->DBGridEh1->currentRow();
    if (!m_goods.isOpen() || row < 0 || row >= m_goods.rowCount())
        return;
    const GoodsItem goods = GoodsItem::fromRecordSet(m_goods, row);
    if (OrderLines::appendGoods(m_lines, goods) < 0)
        return;
    m_picked << goods.code;
    runQuery();
}

void GoodsPickerDialog::showGridMenu(const QPoint& at)
{
    DataGrid* grid = m_ui->DBGridEh1;
    QMenu menu(this);
    QAction* fields = menu.addAction(QStringLiteral("显示字段列表"));
    QAction* store = menu.addAction(QStringLiteral("保存当前设置"));
    QAction* chosen = menu.exec(grid->viewport()->mapToGlobal(at));
    if (chosen == fields) {
        FieldChooserDialog::chooseGridFields(*grid, this);
    } else if (chosen == store) {
        QString error;
        if (!GoodsPickerQuery::ensureLayoutRows(m_data.db(), &error)) {
            m_data.messenger().error(DataServices::failureMessage());
            return;
        }
        DataGridServices::confirmAndSaveLayout(*grid, m_data.db(), m_data.messenger(),
                                               GoodsPickerQuery::gridKey());
    }
}

bool GoodsPickerDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (watched == m_ui->DBGridEh1) {
                addCurrent();
                return true;
            }
            auto* combo = qobject_cast<QComboBox*>(watched);
            if (!(combo && combo->view()->isVisible())) {
                focusNextChild();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}
