#include "DBGrid.h"

#include "platform/data/DataSource.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace dataset {

namespace {

// Draws a cell the standard way, then lets the screen draw over it with the
// dataset's fields reading the drawn row.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(DBGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (grid_->DefaultDrawing || !grid_->OnDrawColumnCell) QStyledItemDelegate::paint(painter, option, index);
        if (!grid_->OnDrawColumnCell) return;
        DataSet* ds = grid_->Model()->GetDataSet();
        if (!ds) return;
        DataSet::RowScope scope(*ds, index.row());
        painter->save();
        try {
            grid_->OnDrawColumnCell(*painter, option.rect, index.column(), grid_->Model()->ColumnField(index.column()),
                                    option.state & QStyle::State_Selected);
        } catch (...) {
            // A drawing handler never takes the paint event down.
        }
        painter->restore();
    }

private:
    DBGrid* grid_;
};

} // namespace

DBGrid::DBGrid(QWidget* parent) : QTableView(parent), model_(new DataSetModel(this)) {
    setModel(model_);
    setItemDelegate(new GridDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    setWordWrap(false);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& now, const QModelIndex&) {
                if (syncing_ || !now.isValid()) return;
                DataSet* ds = model_->GetDataSet();
                if (ds && ds->Active() && now.row() != ds->CurrentRow()) {
                    syncing_ = true;
                    try {
                        ds->MoveToRow(now.row());
                    } catch (...) {
                        syncing_ = false;
                        syncFromDataSet(ds->CurrentRow());
                        throw;
                    }
                    syncing_ = false;
                }
            });
    connect(model_, &DataSetModel::currentRowChanged, this, [this](int row) { syncFromDataSet(row); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        applyColumnWidths();
        DataSet* ds = model_->GetDataSet();
        if (ds && ds->Active()) syncFromDataSet(ds->CurrentRow());
    });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (OnTitleClick) OnTitleClick(*this, section);
    });
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid() && OnCellClick) OnCellClick(*this, index.column());
    });
}

DBGrid::~DBGrid() = default;

void DBGrid::SetDataSource(DataSource* source) { model_->SetDataSource(source); }

void DBGrid::SetColumns(const QList<GridColumn>& columns) {
    model_->SetColumns(columns);
    applyColumnWidths();
}

void DBGrid::SetRowSelect(bool on) { setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems); }

void DBGrid::applyColumnWidths() {
    const QList<GridColumn>& cols = model_->Columns();
    for (int i = 0; i < cols.size(); ++i) {
        int w = cols[i].Width;
        if (w <= 0) {
            Field* f = model_->ColumnField(i);
            int chars = f ? (f->DisplayWidth > 0 ? f->DisplayWidth : std::clamp(f->Size(), 6, 40)) : 10;
            w = fontMetrics().averageCharWidth() * chars + 8;
        }
        setColumnWidth(i, w);
    }
}

void DBGrid::syncFromDataSet(int row) {
    if (syncing_) return;
    syncing_ = true;
    if (row >= 0 && row < model_->rowCount()) {
        const int col = std::max(0, currentIndex().column());
        const QModelIndex idx = model_->index(row, col);
        selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect |
                                                   (selectionBehavior() == SelectRows ? QItemSelectionModel::Rows
                                                                                      : QItemSelectionModel::NoUpdate));
        scrollTo(idx);
    } else {
        selectionModel()->clear();
    }
    syncing_ = false;
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    QTableView::mouseDoubleClickEvent(e);
    if (OnDblClick && indexAt(e->pos()).isValid()) OnDblClick(*this);
}

} // namespace dataset
